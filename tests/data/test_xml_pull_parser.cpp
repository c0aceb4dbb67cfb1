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
