#include "convert/FieldHtml.h"

#include "common/Utf8Text.h"

#include <gtest/gtest.h>

#include <string>

namespace mirvel::convert {
namespace {

TEST(FieldHtml, FieldsAsAnkiWritesThem)
{
    EXPECT_EQ(HtmlFieldText("bonjour<br>"), "bonjour");
    EXPECT_EQ(HtmlFieldText("<div>chat</div><div>(m.)</div>"), "chat (m.)");
    EXPECT_EQ(HtmlFieldText("un<BR/>deux<br />trois<p>quatre</P>cinq<li>six"),
              "un deux trois quatre cinq six");
    EXPECT_EQ(HtmlFieldText("<b>gr</b><i>and</i> <span style=\"color: rgb(0, 0, 255);\">bleu</span>"),
              "grand bleu");
    EXPECT_EQ(HtmlFieldText("&nbsp;le&nbsp;&nbsp;chat&#160;"), "le chat");
    EXPECT_EQ(HtmlFieldText("bonjour[sound:bonjour.mp3]"), "bonjour");
    EXPECT_EQ(HtmlFieldText("[sound:a.mp3]chat[sound:b.mp3]chien"), "chat chien");
    EXPECT_EQ(HtmlFieldText("<img src=\"neko.jpg\">猫"), "猫");
    EXPECT_EQ(HtmlFieldText("<span style=\"a>b\" title='c>d'>x</span>"), "x");
    EXPECT_EQ(HtmlFieldText("  un \t\r\n deux\f "), "un deux");
    EXPECT_EQ(HtmlFieldText("a<!-- <b>not a tag</b> -->b"), "ab");
    EXPECT_EQ(HtmlFieldText("<br><div></div>&nbsp;"), "");
}

TEST(FieldHtml, CharacterReferences)
{
    EXPECT_EQ(HtmlFieldText("caf&eacute; &Eacute;t&eacute; &oelig;uf &laquo;&thinsp;oui&thinsp;&raquo;"),
              "café Été œuf « oui »");
    EXPECT_EQ(HtmlFieldText("&amp;&lt;&gt;&quot;&#39;&apos;&rsquo;&euro;"), "&<>\"''’€");
    EXPECT_EQ(HtmlFieldText("&#233;&#xE9;&#XE9;&#x1F600;&#0000065;"), "ééé😀A");
    // Decoded text is text: a reference to '<' starts no tag.
    EXPECT_EQ(HtmlFieldText("&lt;b&gt;gras&lt;/b&gt;"), "<b>gras</b>");
    // The case of a name matters, as in HTML.
    EXPECT_EQ(HtmlFieldText("&EACUTE; &Amp;"), "&EACUTE; &Amp;");
}

TEST(FieldHtml, WhatIsNotMarkupStaysText)
{
    EXPECT_EQ(HtmlFieldText("a < b"), "a < b");
    EXPECT_EQ(HtmlFieldText("x<3 et 2>1"), "x<3 et 2>1");
    EXPECT_EQ(HtmlFieldText("fin <"), "fin <");
    EXPECT_EQ(HtmlFieldText("fin <br"), "fin <br");
    EXPECT_EQ(HtmlFieldText("<<b>>"), "<>");
    EXPECT_EQ(HtmlFieldText("[sound:] [sound:x.mp3"), "[sound:] [sound:x.mp3");
    for (const char* kept : {"&#0;", "&#xD800;", "&#xDFFF;", "&#x110000;", "&#99999999999999999999;", "&#;",
                             "&#x;", "&bogus;", "&eacutee;", "&amp", "& x", "&", "&#65"})
        EXPECT_EQ(HtmlFieldText(kept), kept);
    // A quote never closed counts as a character: the tag ends at the next '>'.
    EXPECT_EQ(HtmlFieldText("<span title=\"a>b</span>"), "b");
}

TEST(FieldHtml, HostileFieldsCostTheirLengthAndStayValid)
{
    // Each of these would take minutes if every '<', '&' or '[' scanned the rest of the field.
    const std::size_t n = 200000;
    std::string ltLetters, quotes, references, sounds, comments;
    for (std::size_t i = 0; i < n; ++i) ltLetters += "<a";
    for (std::size_t i = 0; i < n; ++i) quotes += "<a \"";
    quotes += ">z";
    for (std::size_t i = 0; i < n; ++i) references += "&#x10FFFF&amp";
    for (std::size_t i = 0; i < n; ++i) sounds += "[sound:";
    for (std::size_t i = 0; i < n; ++i) comments += "<!--";
    EXPECT_EQ(HtmlFieldText(ltLetters), ltLetters);
    EXPECT_EQ(HtmlFieldText(quotes), "z");
    EXPECT_EQ(HtmlFieldText(references), references);
    EXPECT_EQ(HtmlFieldText(sounds), sounds);
    EXPECT_EQ(HtmlFieldText(comments), comments);

    const std::string mixed = "é<&#xD83D;&#xDE00;<b>猫&#x10FFFF;&#1114112;</";
    EXPECT_TRUE(IsValidUtf8(HtmlFieldText(mixed)));
    EXPECT_EQ(HtmlFieldText(mixed), "é<&#xD83D;&#xDE00;猫\xF4\x8F\xBF\xBF&#1114112;</");
}

TEST(FieldHtml, PlainFieldsNeedNoDecoding)
{
    for (const char* plain : {"", "chat", "le chat noir", "猫 (ねこ)", "[m.] a", "café"}) {
        EXPECT_FALSE(NeedsHtmlDecoding(plain)) << plain;
        EXPECT_EQ(HtmlFieldText(plain), plain);
    }
    for (const char* marked : {"a<br>", "a&amp;", "[sound:x]", " a", "a ", "a  b", "a\tb", "a\nb"})
        EXPECT_TRUE(NeedsHtmlDecoding(marked)) << marked;
}

}  // namespace
}  // namespace mirvel::convert
