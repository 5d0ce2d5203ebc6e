#pragma once
// Font families of the program's windows.
#include <QString>

inline const QString kFonteJanela = QStringLiteral("Segoe UI"); // filter window
inline const QString kFonteTitulo = QStringLiteral("Tahoma");   // its title panel
inline const QString kFonteControles =
    QStringLiteral("MS Sans Serif"); // lookup rows, search and message windows
