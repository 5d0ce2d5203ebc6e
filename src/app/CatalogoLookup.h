#pragma once
// The filter window's lookup catalogue: the SQL behind each lookup field, as a plain function of
// the asking field, the kind and the codes typed in the fields that narrow others.
#include "lookup/CriadorLookup.h"

#include <QString>

// The eleven lookup fields of the filter window.
enum class CampoLookup { Emp, Dep, Pro, Forn, Depp, Secp, Cat, Scat, Fam, Marca, App };

// The texts of the parent fields as typed: department narrows section, category and subcategory;
// section narrows category and subcategory; category narrows subcategory.
struct CodigosPais {
    QString depp;
    QString secp;
    QString cat;
};

// The description of the code in :0, or the listing filtered by the LIKE pattern in :0. Empty for
// any other kind.
QString SqlDoLookup(CampoLookup Campo, TEventoLookUp Evento, const CodigosPais& Pais);
