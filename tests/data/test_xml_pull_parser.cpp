#include "data/XmlPullParser.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {
// The tokens of a document as text, its bytes handed over `step` at a time.
QStringList tokens(const QByteArray& document, qint64 step)
{
    qint64 at = 0;
    XmlPullParser xml([&](char* buffer, qint64 size) {
        const qint64 n = std::min({size, step, qint64(document.size()) - at});
        std::memcpy(buffer, document.constData() + at, size_t(n));
        at += n;
        return n;
    });
    QStringList out;
    for (;;) {
        const XmlPullParser::Token token = xml.next();
        const auto text = [](std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); };
        switch (token) {
        case XmlPullParser::StartElement:
            out << QStringLiteral("<%1 a=%2 b=%3 @%4").arg(text(xml.name()), text(xml.attribute("a")), text(xml.attribute("b"))).arg(xml.depth());
            break;
        case XmlPullParser::EndElement: out << QStringLiteral("</%1>").arg(text(xml.name())); break;
        case XmlPullParser::Characters: out << QStringLiteral("'%1'").arg(text(xml.text())); break;
        case XmlPullParser::EndDocument: return out;
        case XmlPullParser::Invalid: return out << QStringLiteral("invalid: ") + xml.errorString();
        }
    }
}
}

TEST(XmlPullParser, TokensDoNotDependOnWhereTheInputIsCut)
{
    const QByteArray document = "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<!DOCTYPE x [<!ENTITY e \"boom\">]>"
                                "<x:root xmlns:x=\"urn:x\" a='1 &amp; 2' b=\"tab\there\">"
                                "<!-- a comment with <tags> -->a &lt;b&gt; &#65;&#x42; &e; line\r\nend"
                                "<x:empty a=\"&quot;q&quot;\"/><![CDATA[raw <text> & more]]>"
                                "<deep><deeper b=\"&#x1F600;\">x</deeper></deep></x:root>trailing";
    const QStringList whole = tokens(document, document.size());
    EXPECT_EQ(whole, (QStringList{"<root a=1 & 2 b=tab here @1", "'a <b> AB &e; line\nend'", "<empty a=\"q\" b= @2",
                                  "</empty>", "'raw <text> & more'", "<deep a= b= @2", "<deeper a= b=\U0001F600 @3",
                                  "'x'", "</deeper>", "</deep>", "</root>"}));
    for (const qint64 step : {1, 2, 3, 7})
        EXPECT_EQ(tokens(document, step), whole) << "in pieces of " << step;
}

TEST(XmlPullParser, MalformedDocumentsAreInvalid)
{
    for (const QByteArray& document : {QByteArray("<a><b></a>"), QByteArray("<a>"), QByteArray(""), QByteArray("text"),
                                      QByteArray("<a b=1/>"), QByteArray("<a></a><b/>x"), QByteArray("\xFF\xFE<\0a\0/\0>\0", 10)}) {
        const QStringList out = tokens(document, 3);
        ASSERT_FALSE(out.isEmpty()) << document.toStdString();
        EXPECT_TRUE(out.last().startsWith("invalid") || document == "<a></a><b/>x") << document.toStdString();
    }
}

// A reader may take a run of whole elements straight from the buffer; the
// parser then goes on after them as if it had read them itself. Where it is
// not between tokens inside the root (the end of an empty element still to
// come, or the document over) there is nothing to take.
TEST(XmlPullParser, ARunTakenFromTheBufferIsPassedOver)
{
    const QByteArray document = "<root><a/><b>taken</b><c x='1'>read</c></root>";
    qint64 at = 0;
    XmlPullParser xml([&](char* buffer, qint64 size) {
        const qint64 n = std::min({size, qint64(5), qint64(document.size()) - at});
        std::memcpy(buffer, document.constData() + at, size_t(n));
        at += n;
        return n;
    });
    EXPECT_TRUE(xml.unread(4).empty()); // before the root
    ASSERT_EQ(xml.next(), XmlPullParser::StartElement); // root
    ASSERT_EQ(xml.next(), XmlPullParser::StartElement); // a, its end still to come
    EXPECT_TRUE(xml.unread(4).empty());
    ASSERT_EQ(xml.next(), XmlPullParser::EndElement);
    const std::string_view rest = xml.unread(12); // more than the five bytes a read gives
    ASSERT_GE(rest.size(), 12u);
    ASSERT_EQ(rest.substr(0, 12), "<b>taken</b>");
    xml.consume(12);
    ASSERT_EQ(xml.next(), XmlPullParser::StartElement);
    EXPECT_EQ(xml.name(), "c");
    EXPECT_EQ(xml.attribute("x"), "1");
    EXPECT_EQ(xml.depth(), 2);
    EXPECT_EQ(xml.next(), XmlPullParser::Characters);
    EXPECT_EQ(xml.next(), XmlPullParser::EndElement);
    EXPECT_EQ(xml.next(), XmlPullParser::EndElement);
    EXPECT_EQ(xml.next(), XmlPullParser::EndDocument);
    EXPECT_TRUE(xml.unread(4).empty());
}

// Text and attribute values are searched sixteen bytes at a time: the end
// and the characters to decode before it are found wherever they fall in a
// block, and none after the end counts.
TEST(XmlPullParser, TheEndsOfTextAndValuesAreFoundAnywhereInABlock)
{
    for (int length = 0; length <= 40; ++length) {
        for (int special = -1; special < length; ++special) {
            SCOPED_TRACE(testing::Message() << "length " << length << ", special at " << special);
            // Room past the end, as the parser's buffer has, holding what would mislead.
            std::string text(size_t(length), 'x');
            if (special >= 0)
                text[size_t(special)] = '&';
            const std::string buffer = text + "<\"&\r&\"<" + std::string(32, '&');
            const char* begin = buffer.data();
            bool found = false;
            EXPECT_EQ(XmlPullParser::findTextEnd(begin, begin + buffer.size(), found), begin + length);
            EXPECT_EQ(found, special >= 0);
            found = false;
            const std::string value = text + "\"" + std::string(32, '&');
            EXPECT_EQ(XmlPullParser::findAttributeEnd(value.data(), value.data() + value.size(), '"', found),
                      value.data() + length);
            EXPECT_EQ(found, special >= 0);
            // Cut before the end: not found.
            found = false;
            EXPECT_EQ(XmlPullParser::findTextEnd(begin, begin + length, found), begin + length);
        }
    }
}
