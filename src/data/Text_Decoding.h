#pragma once
// Reading text files that people made elsewhere.
#include <QByteArray>
#include <QString>

// The text of a file's bytes: in the encoding its byte-order mark names
// (UTF-8, UTF-16 or UTF-32; the mark is left out), else as UTF-8 when the
// bytes are valid UTF-8, else as Latin-1 (one byte per character, so nothing
// is ever refused or lost). Code units a damaged UTF-16 or UTF-32 file
// holds that make no character read as U+FFFD.
QString Decode_Text_File(const QByteArray& bytes);
