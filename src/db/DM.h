#pragma once
// The data module: owner of the program's one database connection.
#include "db/Connection.h"

class TDM {
public:
    TDM();
    db::Connection FDConnection1;
};

// Created in main before any window; lives until the program ends.
extern TDM* DM;
