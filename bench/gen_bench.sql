-- Grows the demo database (demo/schema.sql + demo/data.sql) to the size of a large customer for the
-- benchmarks: 205,002 products, about 1,008,000 stock rows, 5,120 suppliers and 8 companies.
-- Deterministic like the demo data (modular arithmetic only), so every load gives the same rows.
-- Load it once, as the superuser, into a fresh demo database:
--   cat demo/digitos.sql bench/gen_bench.sql | demo/pgcluster.sh psql DIR -q -f -
-- The generated products are numbered 1..200,000; -v primeiro=N -v ultimo=M generates N..M instead,
-- and a later load with the next range grows the same database (the companies and suppliers come
-- with the load that starts at 1). The large size of scripts/bench.sh --grande adds 200,001..995,000:
-- 1,000,002 products, about 4,983,000 stock rows.

\set ON_ERROR_STOP on
\if :{?primeiro}
\else
\set primeiro 1
\endif
\if :{?ultimo}
\else
\set ultimo 200000
\endif
SELECT :primeiro = 1 AS inicial \gset
BEGIN;

-- The check-digit helpers come from demo/digitos.sql, loaded just before this file.

\if :inicial
-- Six more stores of the group (parties 6..11), so stock spreads over eight companies.
INSERT INTO par (parcod, pardes, parfan, parcnpjcpf, partipo, parcidade, paruf, pardtcad)
SELECT 5 + n,
       'SUPERMERCADO BOA VISTA LTDA - LOJA ' || lpad((n + 2)::text, 2, '0'),
       'BOA VISTA ' || (ARRAY['CENTRO', 'TAQUARAL', 'CAMBUÍ', 'VALINHOS', 'SUMARÉ', 'HORTOLÂNDIA'])[n],
       pg_temp.cnpj(4821735, n + 1), 'J',
       (ARRAY['CAMPINAS', 'CAMPINAS', 'CAMPINAS', 'VALINHOS', 'SUMARÉ', 'HORTOLÂNDIA'])[n], 'SP',
       DATE '2014-01-06' + n * 211
FROM generate_series(1, 6) AS n;

INSERT INTO emp (empparcod, empsigla)
SELECT 5 + n, 'BV' || n FROM generate_series(1, 6) AS n;

-- 5,000 more suppliers (parties 20000..24999).
INSERT INTO par (parcod, pardes, parfan, parcnpjcpf, partipo, parcidade, paruf, pardtcad)
SELECT 20000 + n,
       left(concat_ws(' ',
                      (ARRAY['DISTRIBUIDORA', 'COMERCIAL', 'ATACADO', 'INDÚSTRIA E COMÉRCIO', 'LATICÍNIOS',
                             'FRIGORÍFICO', 'REPRESENTAÇÕES', 'IMPORTADORA', 'TRANSPORTES', 'AGROPECUÁRIA'])[n % 10 + 1],
                      (ARRAY['SANTOS', 'OLIVEIRA', 'SOUZA', 'PEREIRA', 'ALMEIDA', 'CONCEIÇÃO', 'ARAÚJO',
                             'GONÇALVES', 'RIBEIRO', 'CARVALHO', 'MONTEIRO', 'BRAGANÇA', 'FALCÃO', 'MAGALHÃES',
                             'ASSUNÇÃO', 'BARBOSA', 'CASTRO'])[n / 10 % 17 + 1],
                      (ARRAY['DO NORDESTE', 'PAULISTA', 'MINEIRA', 'CAPIXABA', 'DO SUL', 'GOIANA', 'DO VALE',
                             'CENTRAL', 'DO LITORAL', 'DO OESTE', 'SERRANA'])[n / 170 % 11 + 1],
                      'FILIAL ' || (n / 1870 + 1),
                      (ARRAY['LTDA', 'S/A', 'EIRELI', 'LTDA ME'])[n % 4 + 1]), 60),
       CASE WHEN n % 13 = 5 THEN NULL
            ELSE (ARRAY['SANTOS', 'OLIVEIRA', 'SOUZA', 'PEREIRA', 'ALMEIDA', 'CONCEIÇÃO', 'ARAÚJO',
                        'GONÇALVES', 'RIBEIRO', 'CARVALHO', 'MONTEIRO', 'BRAGANÇA', 'FALCÃO', 'MAGALHÃES',
                        'ASSUNÇÃO', 'BARBOSA', 'CASTRO'])[n / 10 % 17 + 1]
                 || ' ' || (ARRAY['DISTRIBUIDORA', 'ALIMENTOS', 'COMERCIAL', 'ATACADO', 'BEBIDAS', 'CARNES',
                                  'REPRESENTAÇÕES', 'IMPORTS', 'LOGÍSTICA', 'AGRO'])[n % 10 + 1]
       END,
       pg_temp.cnpj(((n::bigint * 7919393 + 31234567) % 100000000)::integer, CASE WHEN n % 11 = 3 THEN 2 ELSE 1 END),
       'J',
       (ARRAY['SÃO PAULO', 'CAMPINAS', 'BELO HORIZONTE', 'CURITIBA', 'GOIÂNIA', 'RECIFE', 'PORTO ALEGRE',
              'RIBEIRÃO PRETO', 'UBERLÂNDIA', 'JUNDIAÍ', 'VITÓRIA'])[n % 11 + 1],
       (ARRAY['SP', 'SP', 'MG', 'PR', 'GO', 'PE', 'RS', 'SP', 'MG', 'SP', 'ES'])[n % 11 + 1],
       DATE '2000-01-03' + (n * 37) % 9000
FROM generate_series(0, 4999) AS n;

INSERT INTO forn (forparcod, forprazo)
SELECT parcod, (ARRAY[7, 14, 21, 28, 30, 45, 60])[parcod % 7 + 1]
FROM par WHERE parcod BETWEEN 20000 AND 24999 ORDER BY parcod;
\endif

-- 200,000 more products (codes 10001..210000; 10000 + primeiro..ultimo), each a variant of one of the generated demo
-- products 4..4990: same brand, family, subcategory, use and unit, its description plus a line.
INSERT INTO pro (procod, prodes, proref, promarcascod, profamcod, proscatcod, proappcod, proun, proean, propreco, prodtcad,
                 proforparcod, procusto)
SELECT 10000 + g.i,
       left(t.prodes || ' ' || (ARRAY['LOTE', 'SÉRIE', 'LINHA', 'MODELO', 'VERSÃO', 'EMBALAGEM'])[g.i % 6 + 1]
            || ' ' || ((g.i - 1) / 4987 + 1), 80),
       CASE WHEN g.i % 250 = 0 THEN NULL ELSE 'REF-' || lpad((10000 + g.i)::text, 7, '0') END,
       t.promarcascod, t.profamcod, t.proscatcod,
       CASE WHEN g.i % 89 = 0 THEN NULL ELSE t.proappcod END,
       t.proun,
       CASE WHEN t.proean IS NULL THEN NULL
            ELSE lpad(((7890000000000 + (10000 + g.i)::bigint * 10 + g.i % 10) % 10000000000000)::text, 13, '0')
       END,
       round(((g.i::bigint * 7919) % 20000 + 99) / 100.0, 2),
       DATE '2005-01-03' + (g.i * 13) % 7000,
       CASE WHEN g.i % 17 = 0 THEN NULL ELSE 20000 + (g.i * 7) % 5000 END,
       round(((g.i::bigint * 7919) % 20000 + 99) / 100.0 * (55 + g.i % 30) / 100.0, 2)
FROM generate_series(:primeiro, :ultimo) AS g (i)
JOIN pro AS t ON t.procod = 4 + (g.i - 1) % 4987
ORDER BY 1;

-- Five of the eight companies stock each new product: 1,000,000 rows. The flag cycles 'N', NULL,
-- 'S' as in the demo; brand 60 left the market, so its stock is all discontinued.
INSERT INTO est (estprocod, estempparcod, estdepproendcod, estqtd, estqtdmin, estforalinha)
SELECT p.procod, e.emp,
       CASE WHEN (p.procod + e.k) % 89 = 0 THEN NULL WHEN p.procod % 101 = 0 THEN 40 ELSE 1 + (p.procod % 1000 * 7 + e.emp * 3) % 39 END,
       CASE WHEN p.procod % 97 = 0 THEN -(p.procod % 7 + 1)
            WHEN p.proun = 'KG' THEN ((p.procod % 100000 * 7919 + e.emp * 104729) % 200000) / 1000.0
            ELSE (p.procod % 100000 * 31 + e.emp * 17) % 240 END,
       (p.procod % 5) * 5,
       CASE WHEN p.promarcascod = 60 THEN 'S'
            ELSE (ARRAY['N', NULL, 'S'])[(p.procod % 3 + e.emp) % 3 + 1] END
FROM pro AS p
CROSS JOIN (VALUES (1, 0), (2, 1), (6, 2), (7, 3), (8, 4), (9, 5), (10, 6), (11, 7)) AS e (emp, k)
WHERE p.procod BETWEEN 10000 + :primeiro AND 10000 + :ultimo AND (p.procod + e.k) % 8 < 5
ORDER BY 1, 2;

COMMIT;

ANALYZE;
