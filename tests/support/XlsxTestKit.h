#pragma once
// Outside tools for the zip and spreadsheet tests: Debian's python3 with its
// zipfile module and python3-openpyxl, and unzip. A missing tool makes the
// calling test fail, never skip.
#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QString>
#include <ostream>

// Failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// Runs Python code with input on its standard input; records a test failure
// (with the program's error output) when it cannot run or exits non-zero.
QByteArray runPython(const QString& code, const QByteArray& input = {}, bool* ok = nullptr);

// One entry of a zip archive written by Python's zipfile.
struct ZipEntry {
    ZipEntry(const QString& name, const QByteArray& data = {}, bool stored = false)
        : name(name), data(data), stored(stored) {}
    static ZipEntry symlink(const QString& name, const QString& target)
    {
        ZipEntry e(name);
        e.linkTarget = target;
        return e;
    }
    static ZipEntry zeros(const QString& name, qint64 bytes)
    {
        ZipEntry e(name);
        e.zeroBytes = bytes;
        return e;
    }
    static ZipEntry dated(const QString& name, const QByteArray& data, const QList<int>& date)
    {
        ZipEntry e(name, data);
        e.date = date;
        return e;
    }
    QString name;
    QByteArray data;
    bool stored = false;      // no compression
    QString linkTarget;       // non-empty: a symbolic link
    qint64 zeroBytes = 0;     // > 0: that many zero bytes, streamed and deflated
    QList<int> date;          // y, m, d, h, min, s; empty: 1980-01-01 00:00
};
bool makeZip(const QString& path, const QList<ZipEntry>& entries);

// A workbook package from raw parts: the given parts over the usual content
// types and package relationships (pass a part with an empty text to leave it out).
bool makeRawWorkbook(const QString& path, const QMap<QString, QString>& parts);

// The standard SpreadsheetML namespaces, for writing raw parts.
extern const char* const Sheet_Main;
extern const char* const Sheet_Rel;

// Reads a workbook with openpyxl: {"sheets": [names], "cells": {sheet: [[{"v":..,"type":..}, ..], ..]}}.
QJsonObject readWithOpenpyxl(const QString& path, bool* ok = nullptr);

// openpyxl's view of the first sheet: values as text, plus their Python types.
QList<QStringList> openpyxlCells(const QJsonObject& book, QStringList* types = nullptr);

// unzip -t on the archive; true when unzip reports no errors.
bool unzipTest(const QString& path, QString* output = nullptr);
// The entry names unzip lists, in archive order.
QStringList unzipNames(const QString& path);
