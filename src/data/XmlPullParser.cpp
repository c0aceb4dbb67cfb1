#include "data/XmlPullParser.h"

#include <algorithm>
#include <array>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
constexpr qsizetype Chunk = 256 * 1024;
constexpr qsizetype Padding = 16;

// Character classes of the markup, by byte.
enum : unsigned char { Space = 1, NameStop = 2, ValueSpecial = 4 };
constexpr auto Classes = [] {
    std::array<unsigned char, 256> table{};
    for (const unsigned char c : {' ', '\t', '\n', '\r'})
        table[c] |= Space | NameStop;
    for (const unsigned char c : {'/', '>', '='})
        table[c] |= NameStop;
    for (const unsigned char c : {'&', '\t', '\n', '\r'})
        table[c] |= ValueSpecial;
    return table;
}();

// The closing quote of an attribute value starting at p, or end; special
// tells whether the value holds a character to decode (an entity, a line
// end or a tab). As find, whole blocks of 16 may be compared.
const char* findValueEnd(const char* p, const char* end, char quote, bool& special)
{
#if defined(__SSE2__)
    const __m128i q = _mm_set1_epi8(quote), amp = _mm_set1_epi8('&'), cr = _mm_set1_epi8('\r'),
                  lf = _mm_set1_epi8('\n'), tab = _mm_set1_epi8('\t');
    for (; p < end; p += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned quotes = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(block, q)));
        const unsigned specials = unsigned(_mm_movemask_epi8(
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, amp), _mm_cmpeq_epi8(block, cr)),
                         _mm_or_si128(_mm_cmpeq_epi8(block, lf), _mm_cmpeq_epi8(block, tab)))));
        if (quotes) {
            const unsigned at = unsigned(__builtin_ctz(quotes));
            special |= (specials & ((1u << at) - 1)) != 0;
            return std::min(p + at, end);
        }
        special |= specials != 0;
    }
    return end;
#else
    for (; p < end && *p != quote; ++p)
        special |= Classes[uchar(*p)] & ValueSpecial;
    return p;
#endif
}

bool isSpace(char c)
{
    return Classes[uchar(c)] & Space;
}

// The first c in [p, end), or end. The buffer has Padding bytes of room
// past its end, so whole blocks of 16 may be compared.
const char* find(const char* p, const char* end, char c)
{
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    for (; p < end; p += 16) {
        const int hits = _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), wanted));
        if (hits)
            return std::min(p + __builtin_ctz(unsigned(hits)), end);
    }
    return end;
#else
    const void* at = std::memchr(p, c, size_t(end - p));
    return at ? static_cast<const char*>(at) : end;
#endif
}

std::string_view localName(std::string_view qualified)
{
    const size_t colon = qualified.rfind(':');
    return colon == std::string_view::npos ? qualified : qualified.substr(colon + 1);
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = 0xFFFD;
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// The entity at text (just after '&', ending before ';'): its characters
// appended to out; false for one we do not know.
bool appendEntity(std::string_view entity, std::string& out)
{
    if (entity == "lt")
        out += '<';
    else if (entity == "gt")
        out += '>';
    else if (entity == "amp")
        out += '&';
    else if (entity == "quot")
        out += '"';
    else if (entity == "apos")
        out += '\'';
    else if (entity.size() >= 2 && entity[0] == '#') {
        const bool hex = entity[1] == 'x';
        std::string_view digits = entity.substr(hex ? 2 : 1);
        if (digits.empty() || digits.size() > 8)
            return false;
        char32_t code = 0;
        for (const char d : digits) {
            int v;
            if (d >= '0' && d <= '9')
                v = d - '0';
            else if (hex && d >= 'a' && d <= 'f')
                v = d - 'a' + 10;
            else if (hex && d >= 'A' && d <= 'F')
                v = d - 'A' + 10;
            else
                return false;
            code = code * (hex ? 16 : 10) + char32_t(v);
        }
        appendUtf8(out, code);
    } else {
        return false;
    }
    return true;
}
}

XmlPullParser::XmlPullParser(Source source, qsizetype maxToken)
    : _source(std::move(source))
    , _buf(size_t(std::clamp<qsizetype>(maxToken, 1, Chunk) + Padding))
    , _maxToken(std::clamp<qsizetype>(maxToken, 1, Max_Token))
{
}

XmlPullParser::Step XmlPullParser::fail(const QString& reason)
{
    _failed = true;
    _error = reason;
    return Failed;
}

bool XmlPullParser::fill()
{
    if (_eof || _failed)
        return false;
    if (_pos > 0) {
        std::memmove(_buf.data(), _buf.data() + _pos, size_t(_end - _pos));
        _end -= _pos;
        _pos = 0;
    }
    if (_end == qsizetype(_buf.size()) - Padding) {
        if (_end >= _maxToken) {
            fail(QStringLiteral("an XML token is larger than %1 bytes").arg(_maxToken));
            return false;
        }
        _buf.resize(size_t(std::min(qsizetype(_buf.size() - Padding) * 2, _maxToken) + Padding));
    }
    const qsizetype before = _end;
    do {
        const qint64 n = _source(_buf.data() + _end, qint64(_buf.size()) - Padding - _end);
        if (n < 0) {
            fail(QStringLiteral("the part could not be read"));
            return false;
        }
        if (n == 0)
            _eof = true;
        _end += qsizetype(n);
    } while (!_started && !_eof && _end < 4); // the first bytes tell the encoding
    if (_end == before)
        return false;
    if (!_started) {
        _started = true;
        const auto b0 = uchar(_buf[0]), b1 = _end > 1 ? uchar(_buf[1]) : uchar(1);
        if ((b0 == 0xFF && b1 == 0xFE) || (b0 == 0xFE && b1 == 0xFF) || b0 == 0 || b1 == 0) {
            fail(QStringLiteral("the part is not encoded in UTF-8"));
            return false;
        }
        if (_end >= 3 && b0 == 0xEF && b1 == 0xBB && uchar(_buf[2]) == 0xBF)
            _pos = 3; // byte-order mark
    }
    return true;
}

XmlPullParser::Token XmlPullParser::next()
{
    if (_failed)
        return Invalid;
    _attributes.clear();
    if (_pendingEnd) {
        _pendingEnd = false;
        _names.resize(_nameEnds.size() > 1 ? size_t(_nameEnds[_nameEnds.size() - 2]) : 0);
        _nameEnds.pop_back();
        if (_nameEnds.empty())
            _done = true;
        return EndElement;
    }
    for (;;) {
        if (_done)
            return EndDocument;
        const qsizetype start = _pos;
        Token token = Invalid;
        const Step step = _pos < _end ? parseToken(token) : NeedMore;
        switch (step) {
        case Done:
            return token;
        case Skip:
            continue;
        case Failed:
            return Invalid;
        case NeedMore:
            _pos = start;
            if (fill())
                continue;
            if (!_failed)
                fail(_nameEnds.empty() && _pos == _end ? QStringLiteral("the part holds no XML element")
                                                       : QStringLiteral("unexpected end of the part"));
            return Invalid;
        }
    }
}

const char* XmlPullParser::findTextEnd(const char* p, const char* end, bool& special)
{
#if defined(__SSE2__)
    const __m128i lt = _mm_set1_epi8('<'), amp = _mm_set1_epi8('&'), cr = _mm_set1_epi8('\r');
    for (; p < end; p += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned stops = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lt)));
        const unsigned specials = unsigned(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, amp), _mm_cmpeq_epi8(block, cr))));
        if (stops) {
            const unsigned at = unsigned(__builtin_ctz(stops));
            special |= (specials & ((1u << at) - 1)) != 0;
            return std::min(p + at, end);
        }
        special |= specials != 0;
    }
    return end;
#else
    for (; p < end && *p != '<'; ++p)
        special |= *p == '&' || *p == '\r';
    return p;
#endif
}

const char* XmlPullParser::findAttributeEnd(const char* p, const char* end, char quote, bool& special)
{
    return findValueEnd(p, end, quote, special);
}

std::string_view XmlPullParser::unread(qsizetype want)
{
    if (_failed || _done || _pendingEnd || _nameEnds.empty())
        return {};
    while (_end - _pos < want && fill()) {
    }
    if (_failed)
        return {};
    return std::string_view(_buf.data() + _pos, size_t(_end - _pos));
}

XmlPullParser::Step XmlPullParser::parseToken(Token& token)
{
    if (_buf[_pos] != '<')
        return parseText(token);
    if (_end - _pos < 2)
        return NeedMore;
    switch (_buf[_pos + 1]) {
    case '/':
        return parseEndTag(token);
    case '?':
    case '!':
        return parseMarkup(token);
    default:
        return parseStartTag(token);
    }
}

XmlPullParser::Step XmlPullParser::parseText(Token& token)
{
    const char* begin = _buf.data() + _pos;
    const char* stop = find(begin, _buf.data() + _end, '<');
    if (stop == _buf.data() + _end && !_eof)
        return NeedMore;
    _pos = stop - _buf.data();
    if (!_textWanted && !_nameEnds.empty())
        return Skip;
    if (_nameEnds.empty()) {
        for (const char* p = begin; p < stop; ++p)
            if (!isSpace(*p))
                return fail(QStringLiteral("text outside the root element"));
        return Skip;
    }
    const char* p = begin;
    while (p < stop && *p != '&' && *p != '\r')
        ++p;
    if (p < stop) {
        _scratch.assign(begin, size_t(p - begin));
        decode(p, stop, false);
        _text = _scratch;
    } else {
        _text = std::string_view(begin, size_t(stop - begin));
    }
    token = Characters;
    return Done;
}

void XmlPullParser::decode(const char* p, const char* end, bool attribute)
{
    while (p < end) {
        const char c = *p;
        if (c == '&') {
            const char* semi = static_cast<const char*>(std::memchr(p, ';', size_t(std::min<qsizetype>(end - p, 12))));
            if (semi && appendEntity(std::string_view(p + 1, size_t(semi - p - 1)), _scratch)) {
                p = semi + 1;
                continue;
            }
            _scratch += c;
        } else if (c == '\r') {
            _scratch += attribute ? ' ' : '\n';
            if (p + 1 < end && p[1] == '\n')
                ++p;
        } else if (attribute && (c == '\n' || c == '\t')) {
            _scratch += ' ';
        } else {
            _scratch += c;
        }
        ++p;
    }
}

XmlPullParser::Step XmlPullParser::parseEndTag(Token& token)
{
    const char* begin = _buf.data() + _pos + 2;
    const char* close = find(begin, _buf.data() + _end, '>');
    if (close == _buf.data() + _end)
        return NeedMore;
    const char* nameEnd = close;
    while (nameEnd > begin && isSpace(nameEnd[-1]))
        --nameEnd;
    const std::string_view qualified(begin, size_t(nameEnd - begin));
    if (_nameEnds.empty())
        return fail(QStringLiteral("an end tag without a start tag"));
    const qsizetype from = _nameEnds.size() > 1 ? _nameEnds[_nameEnds.size() - 2] : 0;
    if (std::string_view(_names).substr(size_t(from)) != qualified)
        return fail(QStringLiteral("the end tag </%1> does not close <%2>")
                        .arg(QString::fromUtf8(qualified.data(), qsizetype(qualified.size())),
                             QString::fromUtf8(_names.data() + from, qsizetype(_names.size()) - from)));
    _pos = close + 1 - _buf.data();
    _nameEnds.pop_back();
    _names.resize(size_t(from));
    _name = localName(qualified);
    if (_nameEnds.empty())
        _done = true;
    token = EndElement;
    return Done;
}

XmlPullParser::Step XmlPullParser::parseMarkup(Token& token)
{
    const char* begin = _buf.data() + _pos;
    const std::string_view rest(begin, size_t(_end - _pos));
    const auto skipPast = [&](std::string_view terminator, qsizetype from) -> Step {
        const size_t at = rest.find(terminator, size_t(from));
        if (at == std::string_view::npos)
            return NeedMore;
        _pos += qsizetype(at + terminator.size());
        return Skip;
    };
    if (rest[1] == '?')
        return skipPast("?>", 2);
    if (rest.size() < 9)
        return _eof ? fail(QStringLiteral("unexpected end of the part")) : NeedMore;
    if (rest.substr(0, 4) == "<!--")
        return skipPast("-->", 4);
    if (rest.substr(0, 9) == "<![CDATA[") {
        const size_t at = rest.find("]]>", 9);
        if (at == std::string_view::npos)
            return NeedMore;
        if (_nameEnds.empty())
            return fail(QStringLiteral("text outside the root element"));
        _scratch.clear();
        for (size_t i = 9; i < at; ++i) {
            if (rest[i] == '\r') {
                _scratch += '\n';
                if (i + 1 < at && rest[i + 1] == '\n')
                    ++i;
            } else {
                _scratch += rest[i];
            }
        }
        _text = _scratch;
        _pos += qsizetype(at + 3);
        token = Characters;
        return Done;
    }
    if (rest.substr(0, 9) == "<!DOCTYPE") {
        if (_refuseDocumentType)
            return fail(QStringLiteral("a document type declaration is not allowed"));
        // Up to the '>' that is outside quotes and outside the internal subset.
        int brackets = 0;
        char quote = 0;
        for (size_t i = 9; i < rest.size(); ++i) {
            const char c = rest[i];
            if (quote) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '[') {
                ++brackets;
            } else if (c == ']') {
                --brackets;
            } else if (c == '>' && brackets <= 0) {
                _pos += qsizetype(i + 1);
                return Skip;
            }
        }
        return NeedMore;
    }
    return fail(QStringLiteral("unknown markup"));
}

XmlPullParser::Step XmlPullParser::parseStartTag(Token& token)
{
    if (_done)
        return fail(QStringLiteral("a second root element"));
    const char* const end = _buf.data() + _end;
    const char* p = _buf.data() + _pos + 1;
    const char* nameBegin = p;
    const char* localBegin = p;
    while (p < end && !(Classes[uchar(*p)] & NameStop)) {
        if (*p == ':')
            localBegin = p + 1;
        ++p;
    }
    if (p == end)
        return NeedMore;
    if (p == nameBegin || *p == '=')
        return fail(QStringLiteral("an element without a name"));
    const std::string_view qualified(nameBegin, size_t(p - nameBegin));
    const std::string_view local(localBegin, size_t(p - localBegin));
    bool empty = false;
    bool anyDecoded = false;
    _scratch.clear();
    _attributes.clear(); // a tag cut short by the buffer's end is parsed again from its start
    for (;;) {
        while (p < end && isSpace(*p))
            ++p;
        if (p == end)
            return NeedMore;
        if (*p == '>') {
            ++p;
            break;
        }
        if (*p == '/') {
            if (p + 1 == end)
                return NeedMore;
            if (p[1] != '>')
                return fail(QStringLiteral("a malformed start tag"));
            empty = true;
            p += 2;
            break;
        }
        const char* attrName = p;
        const char* attrBegin = p;
        while (p < end && !(Classes[uchar(*p)] & NameStop)) {
            if (*p == ':')
                attrBegin = p + 1; // the local name
            ++p;
        }
        const char* attrEnd = p;
        while (p < end && isSpace(*p))
            ++p;
        if (p == end)
            return NeedMore;
        if (*p != '=' || attrEnd == attrBegin)
            return fail(QStringLiteral("a malformed attribute"));
        ++p;
        while (p < end && isSpace(*p))
            ++p;
        if (p == end)
            return NeedMore;
        const char quote = *p;
        if (quote != '"' && quote != '\'')
            return fail(QStringLiteral("an attribute value without quotes"));
        const char* valueBegin = p + 1;
        bool special = false;
        const char* valueEnd = findValueEnd(valueBegin, end, quote, special);
        if (valueEnd == end)
            return NeedMore;
        p = valueEnd + 1;
        // Namespace declarations are no attributes of the document's own.
        const std::string_view qualifiedAttr(attrName, size_t(attrEnd - attrName));
        if (qualifiedAttr.substr(0, 5) == "xmlns" && (qualifiedAttr.size() == 5 || qualifiedAttr[5] == ':'))
            continue;
        Attribute attribute{std::string_view(attrBegin, size_t(attrEnd - attrBegin)), valueBegin, valueEnd};
        if (special) {
            attribute.decodedFrom = qsizetype(_scratch.size());
            decode(valueBegin, valueEnd, true);
            attribute.decodedTo = qsizetype(_scratch.size());
            anyDecoded = true;
        }
        _attributes.push_back(attribute);
    }
    if (anyDecoded)
        for (Attribute& a : _attributes)
            if (a.decodedFrom >= 0) {
                a.begin = _scratch.data() + a.decodedFrom;
                a.end = _scratch.data() + a.decodedTo;
            }
    if (int(_nameEnds.size()) >= Max_Depth)
        return fail(QStringLiteral("elements nested more than %1 deep").arg(Max_Depth));
    _names.append(qualified);
    _nameEnds.push_back(qsizetype(_names.size()));
    _name = local;
    _pos = p - _buf.data();
    _pendingEnd = empty;
    token = StartElement;
    return Done;
}

std::string_view XmlPullParser::attribute(std::string_view localName, bool* found) const
{
    for (const Attribute& a : _attributes)
        if (same(a.name, localName)) {
            if (found)
                *found = true;
            return std::string_view(a.begin, size_t(a.end - a.begin));
        }
    if (found)
        *found = false;
    return {};
}
