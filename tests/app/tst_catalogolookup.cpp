#include "app/CatalogoLookup.h"

#include <QtTest>

Q_DECLARE_METATYPE(CampoLookup)

namespace {

// Description and listing texts of the rows that nothing narrows.
struct Catalogo {
    const char* nome;
    CampoLookup campo;
    QString descricao;
    QString listagem;
};

const QList<Catalogo>& catalogoFixo() {
    static const QList<Catalogo> c = {
        {"Emp", CampoLookup::Emp,
         QStringLiteral("select pardes from par join emp on parcod = empparcod where parcod =:0"),
         QStringLiteral("select parcod, pardes from par join emp on parcod = empparcod where pardes like :0 "
                        "order by pardes")},
        {"Dep", CampoLookup::Dep,
         QStringLiteral(
             "select depproenddes as Descrição from dep_pro_enderecamento where depproendcod = :0 "),
         QStringLiteral("select depproendcod as Código,depproenddes as Descrição from dep_pro_enderecamento "
                        "where depproenddes like :0 order by Descrição")},
        {"Pro", CampoLookup::Pro, QStringLiteral("select prodes as Descrição from pro where procod = :0 "),
         QStringLiteral("select procod as Código,prodes as Descrição,proref as Referência from pro where "
                        "prodes like :0 order by Descrição")},
        {"Forn", CampoLookup::Forn,
         QStringLiteral(
             "Select pardes from par join forn on parcod = :0 and parcod = forparcod Order By pardes"),
         QStringLiteral("Select parcod,pardes as Descrição, parfan as Fantasia, parcnpjcpf as CNPJ from par "
                        "join forn on pardes like :0 and parcod = forparcod Order By pardes")},
        {"Depp", CampoLookup::Depp, QStringLiteral("select deppdes from depp where deppcod = :0"),
         QStringLiteral("select deppcod as Código,deppdes as Descrição from depp where deppdes like :0 order "
                        "by deppdes")},
        {"Fam", CampoLookup::Fam, QStringLiteral("select famdes from fam where famcod=:0;"),
         QStringLiteral(
             "select famcod as Código,famdes as Descrição from fam where famdes like :0 order by famdes;")},
        {"Marca", CampoLookup::Marca,
         QStringLiteral(
             "SELECT DISTINCT marcasdes FROM marcas LEFT JOIN pro ON marcascod = promarcascod LEFT JOIN est "
             "ON estprocod = procod WHERE (estforalinha = 'N' OR estforalinha IS NULL) and marcascod=:0"),
         QStringLiteral("select DISTINCT marcascod as Cód,marcasdes as Descrição from marcas LEFT JOIN pro "
                        "ON marcascod = promarcascod LEFT JOIN est ON estprocod = procod where marcasdes "
                        "like :0 and (estforalinha = 'N' OR estforalinha IS NULL) order by marcasdes")},
        {"App", CampoLookup::App, QStringLiteral("select appdes from app where appcod = :0"),
         QStringLiteral("select appcod, appdes from app where appdes like :0 order by appdes")},
    };
    return c;
}

// Section, category and subcategory: base texts; the filter goes after them.
const QString kSecp1 = QStringLiteral("select secpdes from secp where secpcod = :0 ");
const QString kSecp2 = QStringLiteral("select secpcod as Código, secpdes as Descrição,        deppcod as "
                                      "Cod_Dep,deppdes as Des_Dep from secp       join depp on deppcod = "
                                      "secpdeppcod where (secpdes like :0) ");
const QString kSecpOrdem = QStringLiteral(" order by secpdes");
const QString kCat1 =
    QStringLiteral("select catdes from cat      join secp on secpcod = catsecpcod      join "
                   "depp on deppcod = secpdeppcod where catcod = :0 ");
const QString kCat2 =
    QStringLiteral("select  catcod as Código, catdes as Descricao,         secpcod as "
                   "Cod_Sec,secpdes as Des_Sec,        deppcod as Cod_Dep, deppdes as Des_Dep "
                   "from cat      join secp on secpcod = catsecpcod      join depp on deppcod "
                   "= secpdeppcod where (catdes like :0) ");
const QString kCatOrdem = QStringLiteral(" order by catdes");
const QString kScat1 =
    QStringLiteral("select scatdes from scat      join cat on catcod = scatcatcod      join "
                   "secp on secpcod = catsecpcod      join depp on deppcod = secpdeppcod "
                   "where scatcod=:0 ");
const QString kScat2 =
    QStringLiteral("select scatcod as Codigo, scatdes as Descricao,        catcod as Cod_Cat, "
                   "catdes as Des_Cat,       secpcod as Cod_Sec, secpdes as Des_Sec,        "
                   "deppcod as Cod_Dep, deppdes as Des_Dep from scat      join cat on catcod = "
                   "scatcatcod      join secp on secpcod = catsecpcod      join depp on "
                   "deppcod = secpdeppcod where scatdes like :0 ");
const QString kScatOrdem = QStringLiteral(" order by scatdes");

} // namespace

class TstCatalogoLookup : public QObject {
    Q_OBJECT
private slots:
    void catalogo_data() {
        QTest::addColumn<CampoLookup>("campo");
        QTest::addColumn<int>("evento");
        QTest::addColumn<QString>("sql");
        for (const Catalogo& c : catalogoFixo()) {
            QTest::addRow("%s 1", c.nome) << c.campo << 1 << c.descricao;
            QTest::addRow("%s 2", c.nome) << c.campo << 2 << c.listagem;
        }
        // With every parent field empty the narrowed rows are their base texts.
        QTest::newRow("Secp 1") << CampoLookup::Secp << 1 << kSecp1;
        QTest::newRow("Secp 2") << CampoLookup::Secp << 2 << kSecp2 + kSecpOrdem;
        QTest::newRow("Cat 1") << CampoLookup::Cat << 1 << kCat1;
        QTest::newRow("Cat 2") << CampoLookup::Cat << 2 << kCat2 + kCatOrdem;
        QTest::newRow("Scat 1") << CampoLookup::Scat << 1 << kScat1;
        QTest::newRow("Scat 2") << CampoLookup::Scat << 2 << kScat2 + kScatOrdem;
    }

    void catalogo() {
        QFETCH(CampoLookup, campo);
        QFETCH(int, evento);
        QFETCH(QString, sql);
        QCOMPARE(SqlDoLookup(campo, static_cast<TEventoLookUp>(evento), {}), sql);
    }

    void cascata_data() {
        QTest::addColumn<QString>("depp");
        QTest::addColumn<QString>("secp");
        QTest::addColumn<QString>("cat");
        QTest::addColumn<QString>("filtroSecp"); // what follows each base text
        QTest::addColumn<QString>("filtroCat");
        QTest::addColumn<QString>("filtroScat");

        QTest::newRow("tudo vazio") << ""
                                    << ""
                                    << ""
                                    << ""
                                    << ""
                                    << "";
        QTest::newRow("departamento 0") << "0"
                                        << ""
                                        << ""
                                        << ""
                                        << ""
                                        << "";
        QTest::newRow("departamento 000") << "000"
                                          << ""
                                          << ""
                                          << ""
                                          << ""
                                          << "";
        QTest::newRow("dois departamentos") << "3,4"
                                            << ""
                                            << ""
                                            << ""
                                            << ""
                                            << "";
        QTest::newRow("departamento 007 vai como digitado") << "007"
                                                            << ""
                                                            << ""
                                                            << " and secpdeppcod = 007"
                                                            << " and deppcod = 007"
                                                            << " and deppcod = 007";
        QTest::newRow("departamento e seção") << "5"
                                              << "12"
                                              << ""
                                              << " and secpdeppcod = 5"
                                              << " and deppcod = 5 and secpcod = 12"
                                              << " and deppcod = 5 and secpcod = 12";
        QTest::newRow("os três") << "5"
                                 << "12"
                                 << "40"
                                 << " and secpdeppcod = 5"
                                 << " and deppcod = 5 and secpcod = 12"
                                 << " and deppcod = 5 and secpcod = 12 and catcod = 40";
        QTest::newRow("seção sem departamento") << ""
                                                << "12"
                                                << ""
                                                << ""
                                                << " and secpcod = 12"
                                                << " and secpcod = 12";
        QTest::newRow("categoria só") << ""
                                      << ""
                                      << "40"
                                      << ""
                                      << ""
                                      << " and catcod = 40";
        QTest::newRow("maior inteiro") << "2147483647"
                                       << ""
                                       << ""
                                       << " and secpdeppcod = 2147483647"
                                       << " and deppcod = 2147483647"
                                       << " and deppcod = 2147483647";
        QTest::newRow("além do inteiro conta 0") << "2147483648"
                                                 << "99999999999999999999"
                                                 << ""
                                                 << ""
                                                 << ""
                                                 << "";
        // Pasted text: nothing but digits may reach the SQL.
        QTest::newRow("aspas e comando") << "5' or '1'='1"
                                         << "12; drop table par"
                                         << "1--"
                                         << ""
                                         << ""
                                         << "";
        QTest::newRow("brancos") << " 5"
                                 << "12 "
                                 << "4 0"
                                 << ""
                                 << ""
                                 << "";
        QTest::newRow("sinais") << "+5"
                                << "-12"
                                << "0x1"
                                << ""
                                << ""
                                << "";
        QTest::newRow("letras") << "A"
                                << "1E3"
                                << "VÁRIOS"
                                << ""
                                << ""
                                << "";
        QTest::newRow("dígitos de outra escrita") << "\u0665"
                                                  << "\uFF11\uFF12"
                                                  << "\u00B9"
                                                  << ""
                                                  << ""
                                                  << "";
        QTest::newRow("um pai ruim não apaga os outros") << "5'"
                                                         << "12"
                                                         << "40"
                                                         << ""
                                                         << " and secpcod = 12"
                                                         << " and secpcod = 12 and catcod = 40";
    }

    void cascata() {
        QFETCH(QString, depp);
        QFETCH(QString, secp);
        QFETCH(QString, cat);
        QFETCH(QString, filtroSecp);
        QFETCH(QString, filtroCat);
        QFETCH(QString, filtroScat);
        const CodigosPais pais{depp, secp, cat};

        QCOMPARE(SqlDoLookup(CampoLookup::Secp, evDescricao, pais), kSecp1 + filtroSecp);
        QCOMPARE(SqlDoLookup(CampoLookup::Secp, evListagem, pais), kSecp2 + filtroSecp + kSecpOrdem);
        QCOMPARE(SqlDoLookup(CampoLookup::Cat, evDescricao, pais), kCat1 + filtroCat);
        QCOMPARE(SqlDoLookup(CampoLookup::Cat, evListagem, pais), kCat2 + filtroCat + kCatOrdem);
        QCOMPARE(SqlDoLookup(CampoLookup::Scat, evDescricao, pais), kScat1 + filtroScat);
        QCOMPARE(SqlDoLookup(CampoLookup::Scat, evListagem, pais), kScat2 + filtroScat + kScatOrdem);
        // The other rows are never narrowed.
        for (const Catalogo& c : catalogoFixo())
            QCOMPARE(SqlDoLookup(c.campo, evListagem, pais), c.listagem);
    }

    void outrosEventosNaoTemSQL_data() {
        QTest::addColumn<int>("evento");
        for (const int evento : {0, 3, 255})
            QTest::addRow("%d", evento) << evento;
    }
    void outrosEventosNaoTemSQL() {
        QFETCH(int, evento);
        const CodigosPais pais{QStringLiteral("5"), QStringLiteral("12"), QStringLiteral("40")};
        for (const CampoLookup campo :
             {CampoLookup::Emp, CampoLookup::Secp, CampoLookup::Scat, CampoLookup::App})
            QCOMPARE(SqlDoLookup(campo, static_cast<TEventoLookUp>(evento), pais), QString());
    }
};

QTEST_MAIN(TstCatalogoLookup)
#include "tst_catalogolookup.moc"
