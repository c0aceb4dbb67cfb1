#include "support/XlsxTestKit.h"

#include "platform/Task.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <gtest/gtest.h>

const char* const Sheet_Main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char* const Sheet_Rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

namespace {
// Debian's interpreter, where python3-openpyxl is installed.
const QString Python = QStringLiteral("/usr/bin/python3");

platform::TaskResult run(const QString& program, const QStringList& arguments, const QByteArray& input = {})
{
    platform::TaskRequest request;
    request.program = program;
    request.arguments = arguments;
    request.standardInput = input;
    request.timeoutMs = 120000;
    return platform::runTask(request);
}
}

QByteArray runPython(const QString& code, const QByteArray& input, bool* ok)
{
    const platform::TaskResult result = run(Python, {QStringLiteral("-c"), code}, input);
    if (ok)
        *ok = result.succeeded();
    if (!result.started)
        ADD_FAILURE() << "cannot run " << Python.toStdString() << " (install python3 and python3-openpyxl)";
    else if (!result.succeeded())
        ADD_FAILURE() << "python failed (" << result.exitStatus << "): " << result.standardError.toStdString();
    return result.standardOutput;
}

bool makeZip(const QString& path, const QList<ZipEntry>& entries)
{
    QJsonArray list;
    for (const ZipEntry& e : entries) {
        QJsonObject o{{"name", e.name}, {"data", QString::fromLatin1(e.data.toBase64())}, {"stored", e.stored},
                      {"link", e.linkTarget}, {"zeros", double(e.zeroBytes)}};
        if (!e.date.isEmpty()) {
            QJsonArray date;
            for (int part : e.date)
                date.append(part);
            o.insert("date", date);
        }
        list.append(o);
    }
    const QByteArray input = QJsonDocument(QJsonObject{{"path", path}, {"entries", list}}).toJson();
    static const QString code = QStringLiteral(R"(
import base64, json, sys, zipfile
job = json.load(sys.stdin)
with zipfile.ZipFile(job["path"], "w") as z:
    for e in job["entries"]:
        info = zipfile.ZipInfo(e["name"], date_time=tuple(e.get("date", (1980, 1, 1, 0, 0, 0))))
        info.compress_type = zipfile.ZIP_STORED if e["stored"] else zipfile.ZIP_DEFLATED
        if e["link"]:
            info.create_system = 3
            info.external_attr = 0o120777 << 16
            z.writestr(info, e["link"])
        elif e["zeros"] > 0:
            info._compresslevel = 1
            left = int(e["zeros"])
            chunk = bytes(1 << 20)
            with z.open(info, "w") as f:
                while left > 0:
                    f.write(chunk[:min(left, len(chunk))])
                    left -= len(chunk)
        else:
            z.writestr(info, base64.b64decode(e["data"]))
)");
    bool ok = false;
    runPython(code, input, &ok);
    return ok && QFileInfo(path).isFile();
}

bool makeRawWorkbook(const QString& path, const QMap<QString, QString>& parts)
{
    const QString decl = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n");
    const QString sheetType = QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml");
    QMap<QString, QString> all = {
        {"[Content_Types].xml",
         decl + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                "<Override PartName=\"/xl/workbook.xml\" ContentType=\"" + sheetType + ".sheet.main+xml\"/>"
                "</Types>"},
        {"_rels/.rels",
         decl + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                "<Relationship Id=\"rId1\" Type=\"" + Sheet_Rel + "/officeDocument\" Target=\"xl/workbook.xml\"/>"
                "</Relationships>"},
    };
    for (auto it = parts.begin(); it != parts.end(); ++it)
        all[it.key()] = it.value();
    QList<ZipEntry> entries;
    for (auto it = all.begin(); it != all.end(); ++it)
        if (!it.value().isEmpty())
            entries.append({it.key(), it.value().toUtf8()});
    return makeZip(path, entries);
}

QJsonObject readWithOpenpyxl(const QString& path, bool* ok)
{
    static const QString code = QStringLiteral(R"(
import json, sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1] if len(sys.argv) > 1 else sys.stdin.read())
out = {"sheets": wb.sheetnames, "cells": {}}
for ws in wb.worksheets:
    out["cells"][ws.title] = [[{"v": c.value if c.value is None or isinstance(c.value, (int, float, str)) else str(c.value),
                                "type": type(c.value).__name__} for c in row] for row in ws.iter_rows()]
print(json.dumps(out))
)");
    bool ran = false;
    const QByteArray json = runPython(code, path.toUtf8(), &ran);
    const QJsonObject result = QJsonDocument::fromJson(json).object();
    if (ok)
        *ok = ran && !result.isEmpty();
    return result;
}

bool unzipTest(const QString& path, QString* output)
{
    const platform::TaskResult result = run(QStringLiteral("unzip"), {QStringLiteral("-t"), path});
    if (!result.started)
        ADD_FAILURE() << "cannot run unzip (install unzip)";
    if (output)
        *output = QString::fromUtf8(result.standardOutput + result.standardError);
    return result.succeeded();
}

QStringList unzipNames(const QString& path)
{
    const platform::TaskResult result = run(QStringLiteral("unzip"), {QStringLiteral("-Z1"), path});
    if (!result.started)
        ADD_FAILURE() << "cannot run unzip (install unzip)";
    return QString::fromUtf8(result.standardOutput).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QList<QStringList> openpyxlCells(const QJsonObject& book, QStringList* types)
{
    QList<QStringList> cells;
    const QString first = book["sheets"].toArray().first().toString();
    for (const QJsonValue& row : book["cells"].toObject()[first].toArray()) {
        QStringList values;
        for (const QJsonValue& cell : row.toArray()) {
            const QJsonValue v = cell.toObject()["v"];
            values.append(v.isString() ? v.toString() : v.isNull() ? QString() : QString::number(v.toDouble(), 'g', 17));
            if (types)
                types->append(cell.toObject()["type"].toString());
        }
        cells.append(values);
    }
    return cells;
}
