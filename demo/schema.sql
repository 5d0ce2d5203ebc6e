-- Demo business database: parties, products, stock and their catalogues.
-- The report launcher only reads it; descriptions are stored upper case, as the ERP keeps them.

-- Parties: the group's own companies, suppliers and anyone else the ERP deals with.
CREATE TABLE par (
    parcod      integer     PRIMARY KEY,
    pardes      varchar(60) NOT NULL,
    parfan      varchar(60),
    parcnpjcpf  varchar(18),
    partipo     char(1)     NOT NULL DEFAULT 'J' CHECK (partipo IN ('J', 'F')),
    parcidade   varchar(40),
    paruf       char(2),
    pardtcad    date
);

CREATE TABLE emp (
    empparcod   integer     PRIMARY KEY REFERENCES par (parcod),
    empsigla    varchar(10)
);

CREATE TABLE forn (
    forparcod   integer     PRIMARY KEY REFERENCES par (parcod),
    forprazo    smallint    -- usual payment term in days
);

CREATE TABLE dep_pro_enderecamento (
    depproendcod integer     PRIMARY KEY,
    depproenddes varchar(60)
);

CREATE TABLE marcas (
    marcascod   integer     PRIMARY KEY,
    marcasdes   varchar(50)
);

CREATE TABLE fam (
    famcod      integer     PRIMARY KEY,
    famdes      varchar(50)
);

CREATE TABLE app (
    appcod      integer     PRIMARY KEY,
    appdes      varchar(50)
);

-- Product tree: department > section > category > subcategory.
CREATE TABLE depp (
    deppcod     integer     PRIMARY KEY,
    deppdes     varchar(40)
);

CREATE TABLE secp (
    secpcod     integer     PRIMARY KEY,
    secpdes     varchar(40),
    secpdeppcod integer     REFERENCES depp (deppcod)
);

CREATE TABLE cat (
    catcod      integer     PRIMARY KEY,
    catdes      varchar(40),
    catsecpcod  integer     REFERENCES secp (secpcod)
);

CREATE TABLE scat (
    scatcod     integer     PRIMARY KEY,
    scatdes     varchar(40),
    scatcatcod  integer     REFERENCES cat (catcod)
);

CREATE TABLE pro (
    procod       integer       PRIMARY KEY,
    prodes       varchar(80)   NOT NULL,
    proref       varchar(29),
    promarcascod integer       REFERENCES marcas (marcascod),
    profamcod    integer       REFERENCES fam (famcod),
    proscatcod   integer       REFERENCES scat (scatcod),
    proappcod    integer       REFERENCES app (appcod),
    proun        varchar(3)    NOT NULL DEFAULT 'UN',
    proean       varchar(14),
    propreco     numeric(12,2),
    prodtcad     date,
    proforparcod integer       REFERENCES forn (forparcod), -- main supplier
    procusto     numeric(12,2)                              -- net cost
);

-- Stock per product and company. estforalinha: 'S' = discontinued ("fora de linha"),
-- 'N' or NULL = still sold (older rows never had the flag filled in).
CREATE TABLE est (
    estprocod       integer       NOT NULL REFERENCES pro (procod),
    estempparcod    integer       NOT NULL REFERENCES emp (empparcod),
    estdepproendcod integer       REFERENCES dep_pro_enderecamento (depproendcod),
    estqtd          numeric(12,3) NOT NULL DEFAULT 0,
    estqtdmin       numeric(12,3),
    estforalinha    char(1)       CHECK (estforalinha IN ('S', 'N')),
    PRIMARY KEY (estprocod, estempparcod)
);

CREATE INDEX pro_promarcascod_idx ON pro (promarcascod);
CREATE INDEX pro_proscatcod_idx ON pro (proscatcod);
CREATE INDEX pro_proforparcod_idx ON pro (proforparcod);
CREATE INDEX est_estempparcod_idx ON est (estempparcod);
CREATE INDEX est_estdepproendcod_idx ON est (estdepproendcod);
CREATE INDEX secp_secpdeppcod_idx ON secp (secpdeppcod);
CREATE INDEX cat_catsecpcod_idx ON cat (catsecpcod);
CREATE INDEX scat_scatcatcod_idx ON scat (scatcatcod);
