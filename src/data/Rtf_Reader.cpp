#include "data/Rtf_Reader.h"

#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <cctype>
#include <utility>
#include <vector>

namespace {
// Destinations whose content is no part of the document's text.
const QSet<QByteArray>& skippedDestinations()
{
    static const QSet<QByteArray> names{
        "fonttbl", "colortbl", "stylesheet", "info", "listtable", "listoverridetable", "revtbl", "rsidtbl",
        "filetbl", "pict", "object", "header", "headerl", "headerr", "headerf", "footer", "footerl", "footerr",
        "footerf", "footnote", "fldinst", "themedata", "colorschememapping", "latentstyles", "datastore",
        "xmlnstbl", "generator", "pgdsctbl", "mmathPr"};
    return names;
}

// Control words that stand for one character of text.
QString characterWord(const QByteArray& word)
{
    static const QHash<QByteArray, QString> words{
        {"par", QStringLiteral("\n")},      {"line", QStringLiteral("\n")},    {"sect", QStringLiteral("\n")},
        {"page", QStringLiteral("\n")},     {"row", QStringLiteral("\n")},     {"tab", QStringLiteral("\t")},
        {"cell", QStringLiteral("\t")},     {"emdash", QString(QChar(0x2014))}, {"endash", QString(QChar(0x2013))},
        {"lquote", QString(QChar(0x2018))}, {"rquote", QString(QChar(0x2019))}, {"ldblquote", QString(QChar(0x201C))},
        {"rdblquote", QString(QChar(0x201D))}, {"bullet", QString(QChar(0x2022))}, {"emspace", QStringLiteral(" ")},
        {"enspace", QStringLiteral(" ")},   {"qmspace", QStringLiteral(" ")}};
    return words.value(word);
}

// The encoding of a Windows code page number.
QByteArray codePageName(int page)
{
    switch (page) {
    case 437: return "IBM437";
    case 850: return "IBM850";
    case 852: return "IBM852";
    case 866: return "IBM866";
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 10000: return "macintosh";
    case 65001: return "UTF-8";
    default: return "windows-" + QByteArray::number(page);
    }
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = char(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

class Reader {
public:
    explicit Reader(QByteArray rtf) : in(std::move(rtf)) {}

    QString run()
    {
        const qsizetype n = in.size();
        while (pos < n) {
            const char c = in[pos++];
            switch (c) {
            case '{':
                flush();
                stack.push_back(group);
                pendingSkip = 0;
                break;
            case '}':
                flush();
                if (stack.empty())
                    return out; // the document's last brace
                group = stack.back();
                stack.pop_back();
                pendingSkip = 0;
                break;
            case '\\':
                control();
                break;
            case '\r':
            case '\n':
                break; // line breaks of the file are not text
            default:
                literal(c);
                break;
            }
        }
        flush();
        return out;
    }

private:
    struct Group {
        bool skip = false; // inside a destination that is not text
        int uc = 1;        // fallback characters after \uN
    };

    void literal(char c)
    {
        if (pendingSkip > 0) {
            --pendingSkip;
            return;
        }
        if (group.skip)
            return;
        if (static_cast<unsigned char>(c) >= 0x80) {
            bytes += c; // an 8-bit byte of the code page, written raw
            return;
        }
        flush();
        out += QLatin1Char(c);
    }

    void text(const QString& s)
    {
        if (group.skip)
            return;
        flush();
        out += s;
    }

    void control()
    {
        const qsizetype n = in.size();
        if (pos >= n)
            return;
        const char c = in[pos];
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++pos;
            symbol(c);
            return;
        }
        QByteArray word;
        while (pos < n && std::isalpha(static_cast<unsigned char>(in[pos])) && word.size() < 32)
            word += in[pos++];
        bool hasParam = false;
        long long param = 0;
        bool negative = false;
        if (pos < n && in[pos] == '-') {
            negative = true;
            ++pos;
        }
        while (pos < n && std::isdigit(static_cast<unsigned char>(in[pos]))) {
            hasParam = true;
            if (param < 100000000)
                param = param * 10 + (in[pos] - '0');
            ++pos;
        }
        if (negative)
            param = -param;
        if (pos < n && in[pos] == ' ')
            ++pos; // the delimiter belongs to the word
        controlWord(word, hasParam, int(param));
    }

    void symbol(char c)
    {
        switch (c) {
        case '\\':
        case '{':
        case '}':
            literal(c);
            break;
        case '\'': {
            const int hi = pos < in.size() ? hexDigit(in[pos]) : -1;
            const int lo = pos + 1 < in.size() ? hexDigit(in[pos + 1]) : -1;
            if (hi < 0 || lo < 0)
                return;
            pos += 2;
            if (pendingSkip > 0) {
                --pendingSkip;
                return;
            }
            if (!group.skip)
                bytes += char(hi * 16 + lo);
            break;
        }
        case '~':
            text(QString(QChar(0x00A0)));
            break;
        case '_':
            text(QString(QChar(0x2011)));
            break;
        case '*':
            group.skip = true;
            break;
        case '\r':
        case '\n':
            text(QStringLiteral("\n")); // a backslash before a line break is \par
            break;
        default:
            break; // \- (optional hyphen), \| and the like show nothing
        }
    }

    void controlWord(const QByteArray& word, bool hasParam, int param)
    {
        if (skippedDestinations().contains(word)) {
            group.skip = true;
            return;
        }
        if (word == "u" && hasParam) {
            if (!group.skip) {
                flush();
                out += QChar(char16_t(param < 0 ? param + 65536 : param));
            }
            pendingSkip = group.uc;
            return;
        }
        if (word == "uc" && hasParam) {
            group.uc = std::max(0, param);
            return;
        }
        if (word == "bin" && hasParam) {
            pos += std::max(0, param); // binary data is never text
            return;
        }
        if (word == "ansicpg" && hasParam)
            setCodePage(codePageName(param));
        else if (word == "ansi")
            setCodePage("windows-1252");
        else if (word == "mac")
            setCodePage("macintosh");
        else if (word == "pc")
            setCodePage("IBM437");
        else if (word == "pca")
            setCodePage("IBM850");
        const QString character = characterWord(word);
        if (!character.isEmpty())
            text(character);
    }

    void setCodePage(const QByteArray& name)
    {
        flush();
        codePage = name;
    }

    // The raw code-page bytes collected so far become text.
    void flush()
    {
        if (bytes.isEmpty())
            return;
        QStringDecoder decoder(codePage.constData());
        if (!decoder.isValid())
            decoder = QStringDecoder("windows-1252");
        out += decoder.isValid() ? decoder(bytes) : QString::fromLatin1(bytes);
        bytes.clear();
    }

    const QByteArray in;
    qsizetype pos = 0;
    Group group;
    std::vector<Group> stack;
    int pendingSkip = 0;
    QByteArray bytes;
    QByteArray codePage = "windows-1252";
    QString out;
};
}

std::optional<QString> Rtf_Document_Text(const QByteArray& rtf)
{
    qsizetype start = 0;
    while (start < rtf.size() && std::isspace(static_cast<unsigned char>(rtf[start])))
        ++start;
    if (!rtf.mid(start, 5).startsWith("{\\rtf"))
        return std::nullopt;
    Reader reader(rtf.mid(start + 1)); // the reader starts inside the document's group
    return reader.run();
}
