#pragma once
// The text of an RTF document, read by a small reader of our own: the words
// a person sees, without fonts, colours, styles or document information.
#include <QByteArray>
#include <QString>
#include <optional>

// Paragraph and line ends (\par, \line, and the ends of pages, sections and
// table rows) become line feeds and \tab (and a table cell's end) a tab;
// \'hh bytes are read in the document's code page (\ansicpg, or \ansi,
// \mac, \pc, \pca) and \uN characters replace the N-character fallback that
// follows them (\ucN, 1 unless set). The font, colour, style, list and
// information tables, pictures, headers, footers and every "\*" destination
// are skipped. nullopt when the bytes are not an RTF document.
std::optional<QString> Rtf_Document_Text(const QByteArray& rtf);
