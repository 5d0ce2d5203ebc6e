#include "db/DM.h"

TDM* DM = nullptr;

TDM::TDM() {
    FDConnection1.setDriverId(QStringLiteral("PG"));
}
