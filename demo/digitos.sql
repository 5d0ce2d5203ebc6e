-- Check-digit helpers of the demo data (session-local functions): demo/data.sql and
-- bench/gen_bench.sql are each loaded in one session right after this file.

-- Check digits as the Receita Federal computes them (mod 11; CNPJ weights cycle 2..9 from the right).
CREATE FUNCTION pg_temp.dv11(digitos text, ciclo boolean) RETURNS integer
LANGUAGE sql IMMUTABLE AS $$
    SELECT CASE WHEN s % 11 < 2 THEN 0 ELSE 11 - s % 11 END
    FROM (SELECT sum(substr(digitos, length(digitos) - j, 1)::integer
                     * CASE WHEN ciclo THEN 2 + j % 8 ELSE 2 + j END) AS s
          FROM generate_series(0, length(digitos) - 1) AS j) AS t
$$;

CREATE FUNCTION pg_temp.cnpj(raiz integer, filial integer) RETURNS text
LANGUAGE sql IMMUTABLE AS $$
    WITH a AS (SELECT lpad(raiz::text, 8, '0') || lpad(filial::text, 4, '0') AS d),
         b AS (SELECT d || pg_temp.dv11(d, true) AS d FROM a),
         c AS (SELECT d || pg_temp.dv11(d, true) AS d FROM b)
    SELECT substr(d, 1, 2) || '.' || substr(d, 3, 3) || '.' || substr(d, 6, 3) || '/'
           || substr(d, 9, 4) || '-' || substr(d, 13, 2)
    FROM c
$$;

CREATE FUNCTION pg_temp.cpf(raiz integer) RETURNS text
LANGUAGE sql IMMUTABLE AS $$
    WITH a AS (SELECT lpad(raiz::text, 9, '0') AS d),
         b AS (SELECT d || pg_temp.dv11(d, false) AS d FROM a),
         c AS (SELECT d || pg_temp.dv11(d, false) AS d FROM b)
    SELECT substr(d, 1, 3) || '.' || substr(d, 4, 3) || '.' || substr(d, 7, 3) || '-' || substr(d, 10, 2)
    FROM c
$$;

CREATE FUNCTION pg_temp.ean13(corpo bigint) RETURNS text
LANGUAGE sql IMMUTABLE AS $$
    SELECT d || (10 - sum(substr(d, j, 1)::integer * CASE WHEN j % 2 = 0 THEN 3 ELSE 1 END) % 10) % 10
    FROM (SELECT lpad(corpo::text, 12, '0') AS d) AS a, generate_series(1, 12) AS j
    GROUP BY d
$$;
