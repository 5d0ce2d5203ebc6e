#include "app/CatalogoLookup.h"

namespace {

// A parent field narrows the listings below it only when it holds one positive code. Its text
// is spliced into the SQL as typed, so anything but plain digits (pasted text included) is refused.
bool codigoPositivo(const QString& texto) {
    if (texto.isEmpty())
        return false;
    for (const QChar c : texto)
        if (c < u'0' || c > u'9')
            return false;
    bool ok = false;
    const qint32 valor = texto.toInt(&ok, 10); // out of range: not ok, counts as 0
    return ok && valor > 0;
}

QString filtroDoPai(const QString& texto, const QString& peca) {
    return codigoPositivo(texto) ? peca + texto : QString();
}

} // namespace

QString SqlDoLookup(CampoLookup Campo, TEventoLookUp Evento, const CodigosPais& Pais) {
    if (Evento != evDescricao && Evento != evListagem)
        return {};
    const bool descricao = Evento == evDescricao;

    switch (Campo) {
    case CampoLookup::Emp:
        return descricao
                   ? QStringLiteral("select pardes from par join emp on parcod = empparcod where parcod =:0")
                   : QStringLiteral("select parcod, pardes from par join emp on parcod = empparcod where "
                                    "pardes like :0 order by pardes");
    case CampoLookup::Dep:
        return descricao
                   ? QStringLiteral("select depproenddes as Descrição from dep_pro_enderecamento where "
                                    "depproendcod = :0 ")
                   : QStringLiteral("select depproendcod as Código,depproenddes as Descrição from "
                                    "dep_pro_enderecamento where depproenddes like :0 order by Descrição");
    case CampoLookup::Pro:
        return descricao
                   ? QStringLiteral("select prodes as Descrição from pro where procod = :0 ")
                   : QStringLiteral("select procod as Código,prodes as Descrição,proref as Referência from "
                                    "pro where prodes like :0 order by Descrição");
    case CampoLookup::Forn:
        return descricao
                   ? QStringLiteral("Select pardes from par join forn on parcod = :0 and parcod = forparcod "
                                    "Order By pardes")
                   : QStringLiteral("Select parcod,pardes as Descrição, parfan as Fantasia, parcnpjcpf as "
                                    "CNPJ from par join forn on pardes like :0 and parcod = forparcod Order "
                                    "By pardes");
    case CampoLookup::Depp:
        return descricao
                   ? QStringLiteral("select deppdes from depp where deppcod = :0")
                   : QStringLiteral("select deppcod as Código,deppdes as Descrição from depp where deppdes "
                                    "like :0 order by deppdes");
    case CampoLookup::Fam:
        return descricao
                   ? QStringLiteral("select famdes from fam where famcod=:0;")
                   : QStringLiteral("select famcod as Código,famdes as Descrição from fam where famdes like "
                                    ":0 order by famdes;");
    case CampoLookup::Marca:
        return descricao
                   ? QStringLiteral("SELECT DISTINCT marcasdes FROM marcas LEFT JOIN pro ON marcascod = "
                                    "promarcascod LEFT JOIN est ON estprocod = procod WHERE (estforalinha = "
                                    "'N' OR estforalinha IS NULL) and marcascod=:0")
                   : QStringLiteral(
                         "select DISTINCT marcascod as Cód,marcasdes as Descrição from marcas LEFT "
                         "JOIN pro ON marcascod = promarcascod LEFT JOIN est ON estprocod = "
                         "procod where marcasdes like :0 and (estforalinha = 'N' OR estforalinha "
                         "IS NULL) order by marcasdes");
    case CampoLookup::App:
        return descricao
                   ? QStringLiteral("select appdes from app where appcod = :0")
                   : QStringLiteral("select appcod, appdes from app where appdes like :0 order by appdes");

    // Section, category and subcategory are narrowed by the fields above them.
    case CampoLookup::Secp: {
        const QString filtro = filtroDoPai(Pais.depp, QStringLiteral(" and secpdeppcod = "));
        if (descricao)
            return QStringLiteral("select secpdes from secp where secpcod = :0 ") + filtro;
        return QStringLiteral(
                   "select secpcod as Código, secpdes as Descrição,        deppcod as Cod_Dep,deppdes "
                   "as Des_Dep from secp       join depp on deppcod = secpdeppcod where (secpdes like "
                   ":0) ") +
               filtro + QStringLiteral(" order by secpdes");
    }
    case CampoLookup::Cat: {
        const QString filtro = filtroDoPai(Pais.depp, QStringLiteral(" and deppcod = ")) +
                               filtroDoPai(Pais.secp, QStringLiteral(" and secpcod = "));
        if (descricao)
            return QStringLiteral(
                       "select catdes from cat      join secp on secpcod = catsecpcod      join depp on "
                       "deppcod = secpdeppcod where catcod = :0 ") +
                   filtro;
        return QStringLiteral(
                   "select  catcod as Código, catdes as Descricao,         secpcod as Cod_Sec,secpdes "
                   "as Des_Sec,        deppcod as Cod_Dep, deppdes as Des_Dep from cat      join secp "
                   "on secpcod = catsecpcod      join depp on deppcod = secpdeppcod where (catdes like "
                   ":0) ") +
               filtro + QStringLiteral(" order by catdes");
    }
    case CampoLookup::Scat: {
        const QString filtro = filtroDoPai(Pais.depp, QStringLiteral(" and deppcod = ")) +
                               filtroDoPai(Pais.secp, QStringLiteral(" and secpcod = ")) +
                               filtroDoPai(Pais.cat, QStringLiteral(" and catcod = "));
        if (descricao)
            return QStringLiteral(
                       "select scatdes from scat      join cat on catcod = scatcatcod      join secp on "
                       "secpcod = catsecpcod      join depp on deppcod = secpdeppcod where scatcod=:0 ") +
                   filtro;
        return QStringLiteral(
                   "select scatcod as Codigo, scatdes as Descricao,        catcod as Cod_Cat, catdes as "
                   "Des_Cat,       secpcod as Cod_Sec, secpdes as Des_Sec,        deppcod as Cod_Dep, "
                   "deppdes as Des_Dep from scat      join cat on catcod = scatcatcod      join secp on "
                   "secpcod = catsecpcod      join depp on deppcod = secpdeppcod where scatdes like :0 ") +
               filtro + QStringLiteral(" order by scatdes");
    }
    }
    return {};
}
