#pragma once
// A pull parser for the XML parts of spreadsheet packages: UTF-8 bytes come
// from a source in chunks and go out as a flat run of tokens, so a part of
// any size is read in one pass through a small buffer and no tree is built.
// Elements are named by their local names (prefixes dropped), as
// SpreadsheetML parts may use any prefix, and the Strict and transitional
// namespaces are told apart by nobody here. End tags must match; a document
// type is skipped and its entities are not expanded (an undeclared entity
// stays as written). Names and texts handed out are valid until the next
// call to next().
#include <QString>
#include <QtGlobal>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class XmlPullParser {
public:
    // Fills the buffer with up to size bytes: how many, 0 at the end, -1 on failure.
    using Source = std::function<qint64(char* buffer, qint64 size)>;
    enum Token { StartElement, EndElement, Characters, EndDocument, Invalid };

    // The most bytes one tag or one run of text may take, and how deep
    // elements may nest; past either the document is refused.
    static constexpr qsizetype Max_Token = qsizetype(32) * 1024 * 1024;
    static constexpr int Max_Depth = 1000000;

    // maxToken lowers the ceiling on one tag or run of text (never above
    // Max_Token), for parts whose contents are small by nature.
    explicit XmlPullParser(Source source, qsizetype maxToken = Max_Token);
    // The next token. An empty element gives a start and an end.
    Token next();
    // Local name of the element started or ended.
    std::string_view name() const { return _name; }
    bool nameIs(std::string_view localName) const { return same(_name, localName); }
    // Byte-wise equality, cheaper than a library call for the short names of markup.
    static bool same(std::string_view a, std::string_view b)
    {
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i])
                return false;
        return true;
    }
    // Value of the start tag's attribute with that local name, entities
    // decoded, white space characters as spaces; empty when it has none.
    std::string_view attribute(std::string_view localName, bool* found = nullptr) const;
    // Characters: the text, entities decoded, line ends as "\n".
    std::string_view text() const { return _text; }
    // Elements open, counting the one just started and not the one just ended.
    int depth() const { return int(_nameEnds.size()); }
    // Off: text is passed over without a token until it is wanted again.
    void setTextWanted(bool wanted) { _textWanted = wanted; }
    // On: a document type declaration makes the document invalid instead of
    // being skipped.
    void setDocumentTypeRefused(bool refused) { _refuseDocumentType = refused; }
    // For a reader that takes a plain run of markup itself: the document's
    // next bytes, as far as the buffer holds them (at least want of them
    // unless the document ends first); empty where the parser is not between
    // tokens inside the root element. consume(n) then passes over n of them,
    // which must hold whole elements only, as many ends as starts.
    std::string_view unread(qsizetype want);
    void consume(qsizetype n) { _pos += n; }
    // Within what unread() gave: the first '<' from p, or end; special tells
    // whether a character to decode ('&', a carriage return) comes before it.
    static const char* findTextEnd(const char* p, const char* end, bool& special);
    // The quote closing an attribute value from p, or end; special tells
    // whether a character to decode ('&', a tab or line end) comes before it.
    static const char* findAttributeEnd(const char* p, const char* end, char quote, bool& special);
    QString errorString() const { return _error; }

private:
    enum Step { Done, Skip, NeedMore, Failed };
    Step parseToken(Token& token);
    Step parseText(Token& token);
    Step parseStartTag(Token& token);
    Step parseEndTag(Token& token);
    Step parseMarkup(Token& token);
    bool fill();
    Step fail(const QString& reason);
    // Decodes [begin, end) into _scratch: entities, line ends, and for
    // attributes white space as spaces.
    void decode(const char* begin, const char* end, bool attribute);

    struct Attribute {
        std::string_view name;
        const char* begin; // raw value in the buffer, or offsets into _scratch
        const char* end;
        qsizetype decodedFrom = -1, decodedTo = -1;
    };

    Source _source;
    std::vector<char> _buf;
    qsizetype _pos = 0, _end = 0;
    qsizetype _maxToken = Max_Token;
    bool _eof = false, _done = false, _failed = false, _pendingEnd = false, _started = false, _textWanted = true;
    bool _refuseDocumentType = false;
    std::string _names;                // qualified names of the open elements, one after another
    std::vector<qsizetype> _nameEnds;
    std::string_view _name, _text;
    std::vector<Attribute> _attributes;
    std::string _scratch;
    QString _error;
};
