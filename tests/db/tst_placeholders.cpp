#include "db/Placeholders.h"

#include <QTest>

class TestPlaceholders : public QObject {
    Q_OBJECT
private slots:
    void translate_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("count");
        QTest::newRow("plain") << "select a from t where b = :0"
                               << "select a from t where b = $1" << 1;
        QTest::newRow("no blank") << "where parcod =:0"
                                  << "where parcod =$1" << 1;
        QTest::newRow("several, repeated") << ":1 and :0 or :1"
                                           << "$2 and $1 or $2" << 2;
        QTest::newRow("cast untouched") << "select x::int from t where y = :0"
                                        << "select x::int from t where y = $1" << 1;
        QTest::newRow("cast then param") << "select :0::text"
                                         << "select $1::text" << 1;
        QTest::newRow("literal") << "select ':0' from t where a = :0"
                                 << "select ':0' from t where a = $1" << 1;
        QTest::newRow("doubled quote") << "select 'it''s :1' , :0"
                                       << "select 'it''s :1' , $1" << 1;
        QTest::newRow("E string") << "select E'a\\' :0' , :0"
                                  << "select E'a\\' :0' , $1" << 1;
        QTest::newRow("quoted identifier") << "select \":0\" from t"
                                           << "select \":0\" from t" << 0;
        QTest::newRow("line comment") << "select 1 -- :0\r\nwhere a = :0"
                                      << "select 1 -- :0\r\nwhere a = $1" << 1;
        QTest::newRow("block comment") << "select /* :0 /* :1 */ */ :0"
                                       << "select /* :0 /* :1 */ */ $1" << 1;
        QTest::newRow("dollar quote") << "select $$ :0 $$, $tag$ :3 $tag$, :0"
                                      << "select $$ :0 $$, $tag$ :3 $tag$, $1" << 1;
        QTest::newRow("mark column prefix")
            << "select cast('' as varchar(1)) as check, appcod from app where appdes like :0"
            << "select cast('' as varchar(1)) as check, appcod from app where appdes like $1" << 1;
        QTest::newRow("unterminated literal") << "select ':0"
                                              << "select ':0" << 0;
        QTest::newRow("accented text") << "select deppcod as Código from depp where deppcod = :0"
                                       << "select deppcod as Código from depp where deppcod = $1" << 1;
        QTest::newRow("colon word") << "select a:b, :x"
                                    << "select a:b, :x" << 0;
        QTest::newRow("ten") << "select :10"
                             << "select $11" << 11;
        // $1 after a word would join it (a$1) or open a dollar quote ($$1 ... $$) on the server.
        QTest::newRow("glued to a word") << "select a$:0, $tag:0, x[1:2], '$tag$' from t where b = :0"
                                         << "select a$:0, $tag:0, x[1:2], '$tag$' from t where b = $1" << 1;
        QTest::newRow("after a dollar") << "select '' $:0 , :1"
                                        << "select '' $:0 , $2" << 2;
    }
    void translate() {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        QFETCH(int, count);
        const auto t = db::translatePlaceholders(sql);
        QCOMPARE(t.text, expected);
        QCOMPARE(t.paramCount, count);
    }
};

QTEST_APPLESS_MAIN(TestPlaceholders)
#include "tst_placeholders.moc"
