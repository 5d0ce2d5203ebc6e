#pragma once
// The Windows command line: one UTF-16 text the program splits itself (argv is in the ANSI code
// page and loses what it cannot show), and which other processes read from the process's own
// memory, so a password in it is blanked there.
#include <QStringList>

#include <cstddef>

// The line split as CommandLineToArgvW splits it.
QStringList ArgumentosDaLinhaDoWindows(const wchar_t* linha);

// The argument written so that the C runtime and CommandLineToArgvW read it back unchanged.
QString ArgumentoCitado(const QString& argumento);

// Rewrites `linha` (`tamanho` characters before its final zero) in place so that argument
// `posicao` reads as an empty argument and the others as before; the text keeps its length,
// blanks fill the end. A line that cannot be rewritten so is blanked after the program's name.
// Returns false in that case.
bool ApagaArgumentoDaLinha(wchar_t* linha, std::size_t tamanho, int posicao);
