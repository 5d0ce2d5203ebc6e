-- Demo data. Everything is derived from fixed lists and modular arithmetic, so every load yields
-- exactly the same rows (tests depend on that): no random(), no now(), nothing fetched.

-- The check-digit helpers pg_temp.dv11, cnpj, cpf and ean13 come from demo/digitos.sql,
-- loaded just before this file in the same session.

-- Product tree -------------------------------------------------------------------------------

INSERT INTO depp (deppcod, deppdes) VALUES
    (1, 'MERCEARIA'),
    (2, 'BEBIDAS'),
    (3, 'LIMPEZA'),
    (4, 'HIGIENE E PERFUMARIA'),
    (5, 'HORTIFRÚTI'),
    (6, 'AÇOUGUE'),
    (7, 'PADARIA'),
    (8, 'UTILIDADES DOMÉSTICAS');

INSERT INTO secp (secpcod, secpdes, secpdeppcod) VALUES
    (1, 'CEREAIS E GRÃOS', 1),
    (2, 'REFRIGERANTES', 2),
    (3, 'CERVEJAS', 2),
    (4, 'MASSAS E MOLHOS', 1),
    (5, 'ÓLEOS E AZEITES', 1),
    (6, 'CAFÉS E CHÁS', 1),
    (7, 'BISCOITOS E DOCES', 1),
    (8, 'SUCOS E ÁGUAS', 2),
    (9, 'VINHOS E DESTILADOS', 2),
    (10, 'LIMPEZA DE ROUPAS', 3),
    (11, 'LIMPEZA DA CASA', 3),
    (12, 'FRUTAS', 5),
    (13, 'VERDURAS E LEGUMES', 5),
    (14, 'HIGIENE BUCAL', 4),
    (15, 'CABELOS', 4),
    (16, 'SABONETES E DESODORANTES', 4),
    (17, 'CARNES BOVINAS', 6),
    (18, 'AVES', 6),
    (19, 'SUÍNOS E LINGUIÇAS', 6),
    (20, 'PÃES', 7),
    (21, 'BOLOS E SALGADOS', 7),
    (22, 'UTENSÍLIOS DE COZINHA', 8),
    (23, 'DESCARTÁVEIS', 8),
    (24, 'PAPEL HIGIÊNICO E FRALDAS', 4),
    (25, 'OVOS E TEMPEROS', 5),
    (26, 'DESINFETANTES E INSETICIDAS', 3),
    (27, 'ENLATADOS E CONSERVAS', 1),
    (28, 'ILUMINAÇÃO E PILHAS', 8),
    (29, 'LATICÍNIOS', 1);

INSERT INTO fam (famcod, famdes) VALUES
    (1, 'ALIMENTOS'),
    (2, 'BEBIDAS ALCOÓLICAS'),
    (3, 'BEBIDAS NÃO ALCOÓLICAS'),
    (4, 'LIMPEZA'),
    (5, 'HIGIENE PESSOAL'),
    (6, 'LATICÍNIOS E FRIOS'),
    (7, 'CARNES E AVES'),
    (8, 'PANIFICAÇÃO'),
    (9, 'UTILIDADES DOMÉSTICAS'),
    (10, 'HORTIFRUTIGRANJEIROS'),
    (11, 'PERFUMARIA E BELEZA'),
    (12, 'DESCARTÁVEIS E EMBALAGENS');

INSERT INTO app (appcod, appdes) VALUES
    (1, 'USO DOMÉSTICO'),
    (2, 'USO PROFISSIONAL'),
    (3, 'INDUSTRIAL'),
    (4, 'INSTITUCIONAL'),
    (5, 'FOOD SERVICE'),
    (6, 'REVENDA'),
    (7, 'CONSUMO INTERNO'),
    (8, 'BRINDE');

-- 59 was registered but has no product yet; 60 left the market, so all its stock is discontinued.
INSERT INTO marcas (marcascod, marcasdes) VALUES
    (1, 'NESTLÉ'), (2, 'CAMIL'), (3, 'TIO JOÃO'), (4, 'PIRACANJUBA'), (5, 'UNIÃO'),
    (6, 'DONA BENTA'), (7, 'ADRIA'), (8, 'LIZA'), (9, 'GALLO'), (10, 'PILÃO'),
    (11, 'TRÊS CORAÇÕES'), (12, 'GOMES DA COSTA'), (13, 'MARILAN'), (14, 'QUERO'),
    (15, 'COCA-COLA'), (16, 'ANTARCTICA'), (17, 'SKOL'), (18, 'BRAHMA'), (19, 'HEINEKEN'),
    (20, 'DEL VALLE'), (21, 'CRYSTAL'), (22, 'MIOLO'), (23, 'YPIÓCA'), (24, 'SALTON'),
    (25, 'YPÊ'), (26, 'OMO'), (27, 'COMFORT'), (28, 'VEJA'), (29, 'SCOTCH-BRITE'),
    (30, 'QBOA'), (31, 'PINHO SOL'), (32, 'SBP'),
    (33, 'COLGATE'), (34, 'ORAL-B'), (35, 'SEDA'), (36, 'PANTENE'), (37, 'DOVE'),
    (38, 'REXONA'), (39, 'NEVE'), (40, 'PAMPERS'),
    (41, 'HORTA VIVA'), (42, 'SÍTIO BOA ESPERANÇA'), (43, 'FAZENDA SÃO JOÃO'),
    (44, 'VALE DO SÃO FRANCISCO'), (45, 'GRANJA MANTIQUEIRA'),
    (46, 'FRIBOI'), (47, 'SEARA'), (48, 'SADIA'), (49, 'PERDIGÃO'), (50, 'AURORA'),
    (51, 'PRODUÇÃO PRÓPRIA'), (52, 'WICKBOLD'), (53, 'PULLMAN'), (54, 'BAUDUCCO'),
    (55, 'TRAMONTINA'), (56, 'COPOBRAS'), (57, 'PHILIPS'), (58, 'DURACELL'),
    (59, 'SABOR DA ROÇA'), (60, 'KOLYNOS');

-- Categories with what is needed to generate their products: subcategories (codes catcod*10 + n),
-- package sizes, the brands that make them, family and unit.
CREATE TEMP TABLE demo_cat (
    catcod  integer,
    secpcod integer,
    catdes  text,
    scats   text[],
    tams    text[],
    marcas  integer[],
    famcod  integer,
    un      text
);

INSERT INTO demo_cat VALUES
    (1, 1, 'ARROZ', '{ARROZ BRANCO TIPO 1,ARROZ PARBOILIZADO,ARROZ INTEGRAL}', '{1KG,2KG,5KG}', '{2,3,14}', 1, 'PCT'),
    (2, 1, 'FEIJÃO', '{FEIJÃO CARIOCA,FEIJÃO PRETO,FEIJÃO FRADINHO}', '{500G,1KG,2KG}', '{2,3,14}', 1, 'PCT'),
    (3, 1, 'AÇÚCAR E ADOÇANTES', '{AÇÚCAR CRISTAL,AÇÚCAR REFINADO,AÇÚCAR MASCAVO}', '{1KG,2KG,5KG}', '{5,2}', 1, 'PCT'),
    (4, 1, 'FARINHAS', '{FARINHA DE TRIGO,FARINHA DE MANDIOCA,FUBÁ MIMOSO}', '{500G,1KG,5KG}', '{6,5,14}', 1, 'PCT'),
    (5, 4, 'MASSAS', '{MACARRÃO ESPAGUETE,MACARRÃO PARAFUSO,MASSA PARA LASANHA,MACARRÃO INSTANTÂNEO}', '{85G,500G,1KG}', '{7,1,13}', 1, 'PCT'),
    (6, 4, 'MOLHOS E CONDIMENTOS', '{MOLHO DE TOMATE,MAIONESE,KETCHUP,MOSTARDA}', '{200G,340G,1KG}', '{14,1}', 1, 'UN'),
    (7, 5, 'ÓLEOS', '{ÓLEO DE SOJA,ÓLEO DE GIRASSOL,ÓLEO DE MILHO}', '{500ML,900ML}', '{8,9}', 1, 'UN'),
    (8, 5, 'AZEITES', '{AZEITE EXTRA VIRGEM,AZEITE DE OLIVA TIPO ÚNICO}', '{250ML,500ML,1L}', '{9,8}', 1, 'UN'),
    (9, 6, 'CAFÉ', '{CAFÉ TORRADO E MOÍDO,CAFÉ SOLÚVEL,CAFÉ EM GRÃOS}', '{250G,500G,1KG}', '{10,11,1}', 1, 'PCT'),
    (10, 6, 'CHÁS E ACHOCOLATADOS', '{CHÁ DE CAMOMILA,CHÁ MATE,ACHOCOLATADO EM PÓ}', '{200G,400G,800G}', '{1,11}', 1, 'UN'),
    (11, 7, 'BISCOITOS', '{BISCOITO RECHEADO CHOCOLATE,BISCOITO CREAM CRACKER,BISCOITO MAISENA,BISCOITO WAFER MORANGO}', '{140G,200G,400G}', '{13,1,54}', 1, 'PCT'),
    (12, 7, 'DOCES E CHOCOLATES', '{CHOCOLATE AO LEITE,BOMBOM SORTIDO,DOCE DE LEITE,GOIABADA CASCÃO}', '{90G,300G,400G}', '{1,14}', 1, 'UN'),
    (13, 27, 'PESCADOS EM CONSERVA', '{SARDINHA EM ÓLEO,ATUM SÓLIDO,ATUM RALADO}', '{125G,170G}', '{12,14}', 1, 'UN'),
    (14, 27, 'VEGETAIS EM CONSERVA', '{MILHO VERDE,ERVILHA,AZEITONA VERDE,PALMITO PUPUNHA}', '{170G,200G,300G}', '{14,12}', 1, 'UN'),
    (15, 2, 'REFRIGERANTES', '{REFRIGERANTE COLA,REFRIGERANTE GUARANÁ,REFRIGERANTE LARANJA,REFRIGERANTE LIMÃO}', '{350ML,600ML,2L}', '{15,16}', 3, 'UN'),
    (16, 3, 'CERVEJAS PILSEN', '{CERVEJA PILSEN LATA,CERVEJA PILSEN LONG NECK,CERVEJA PILSEN GARRAFA}', '{269ML,350ML,473ML}', '{17,18,16,19}', 2, 'UN'),
    (17, 3, 'CERVEJAS ESPECIAIS', '{CERVEJA PURO MALTE,CERVEJA IPA,CERVEJA SEM ÁLCOOL}', '{330ML,355ML,600ML}', '{19,18}', 2, 'UN'),
    (18, 8, 'SUCOS', '{SUCO DE UVA INTEGRAL,NÉCTAR DE PÊSSEGO,SUCO DE LARANJA,REFRESCO EM PÓ MARACUJÁ}', '{200ML,1L,1.5L}', '{20,24}', 3, 'UN'),
    (19, 8, 'ÁGUAS', '{ÁGUA MINERAL SEM GÁS,ÁGUA MINERAL COM GÁS,ÁGUA DE COCO}', '{500ML,1.5L,5L}', '{21,1}', 3, 'UN'),
    (20, 9, 'VINHOS', '{VINHO TINTO SECO,VINHO BRANCO SUAVE,ESPUMANTE BRUT}', '{375ML,750ML}', '{22,24}', 2, 'GF'),
    (21, 9, 'DESTILADOS', '{CACHAÇA OURO,CACHAÇA PRATA,VODCA,CONHAQUE}', '{600ML,965ML}', '{23,24}', 2, 'GF'),
    (22, 10, 'SABÃO PARA ROUPAS', '{SABÃO EM PÓ,SABÃO LÍQUIDO,SABÃO EM BARRA}', '{500G,1KG,2KG}', '{26,25}', 4, 'UN'),
    (23, 10, 'AMACIANTES E ALVEJANTES', '{AMACIANTE CONCENTRADO,AMACIANTE DILUÍDO,ALVEJANTE SEM CLORO}', '{500ML,1L,2L}', '{27,25}', 4, 'UN'),
    (24, 11, 'DETERGENTES', '{DETERGENTE LÍQUIDO NEUTRO,DETERGENTE LÍQUIDO LIMÃO,DETERGENTE LÍQUIDO COCO}', '{500ML,5L}', '{25,28}', 4, 'UN'),
    (25, 11, 'ESPONJAS E PANOS', '{ESPONJA DUPLA FACE,ESPONJA DE AÇO,PANO MULTIUSO}', '{C/1,C/3,C/4}', '{29,25}', 4, 'PCT'),
    (26, 11, 'LIMPADORES', '{LIMPADOR MULTIUSO,LIMPA VIDROS,LUSTRA MÓVEIS}', '{500ML,1L}', '{28,25}', 4, 'UN'),
    (27, 26, 'DESINFETANTES', '{DESINFETANTE EUCALIPTO,DESINFETANTE LAVANDA,ÁGUA SANITÁRIA}', '{500ML,1L,2L}', '{31,30,25}', 4, 'UN'),
    (28, 26, 'INSETICIDAS', '{INSETICIDA AEROSSOL,REPELENTE ELÉTRICO}', '{300ML,450ML}', '{32,30}', 4, 'UN'),
    (29, 14, 'CREMES DENTAIS', '{CREME DENTAL TRIPLA AÇÃO,CREME DENTAL BRANQUEADOR,CREME DENTAL INFANTIL}', '{50G,90G,180G}', '{33,34}', 5, 'UN'),
    (30, 14, 'ESCOVAS E FIOS', '{ESCOVA DENTAL MACIA,FIO DENTAL,ENXAGUANTE BUCAL}', '{C/1,C/2,C/4}', '{34,33}', 5, 'UN'),
    (31, 15, 'XAMPUS E CONDICIONADORES', '{XAMPU,CONDICIONADOR}', '{200ML,325ML,400ML}', '{35,36,37}', 11, 'UN'),
    (32, 15, 'TRATAMENTO CAPILAR', '{CREME DE PENTEAR,MÁSCARA DE HIDRATAÇÃO}', '{250G,300G,1KG}', '{35,36,37}', 11, 'UN'),
    (33, 16, 'SABONETES', '{SABONETE EM BARRA,SABONETE LÍQUIDO}', '{85G,90G,250ML}', '{37,38}', 5, 'UN'),
    (34, 16, 'DESODORANTES', '{DESODORANTE AEROSSOL,DESODORANTE ROLL-ON,DESODORANTE CREME}', '{50ML,150ML,200ML}', '{38,37,39}', 11, 'UN'),
    (35, 24, 'PAPEL HIGIÊNICO', '{PAPEL HIGIÊNICO FOLHA SIMPLES,PAPEL HIGIÊNICO FOLHA DUPLA}', '{4 ROLOS,8 ROLOS,12 ROLOS,16 ROLOS}', '{39}', 5, 'PCT'),
    (36, 24, 'LENÇOS E FRALDAS', '{LENÇO UMEDECIDO,FRALDA DESCARTÁVEL P,FRALDA DESCARTÁVEL M,FRALDA DESCARTÁVEL G}', '{C/20,C/48,C/100}', '{40,39}', 5, 'PCT'),
    (37, 29, 'LEITES', '{LEITE UHT INTEGRAL,LEITE UHT DESNATADO,LEITE EM PÓ INTEGRAL,LEITE CONDENSADO}', '{395G,400G,1L}', '{4,1}', 6, 'UN'),
    (38, 29, 'IOGURTES E QUEIJOS', '{IOGURTE NATURAL,BEBIDA LÁCTEA MORANGO,QUEIJO MUÇARELA FATIADO,REQUEIJÃO CREMOSO}', '{170G,200G,900G}', '{4,1}', 6, 'UN'),
    (40, 12, 'FRUTAS TROPICAIS', '{BANANA,ABACAXI,MAMÃO,MANGA}', '{KG,BANDEJA 1KG,CX 20KG}', '{41,42,44}', 10, 'KG'),
    (41, 12, 'FRUTAS CÍTRICAS', '{LARANJA PERA,LIMÃO TAHITI,TANGERINA PONKAN}', '{KG,SACO 3KG,CX 20KG}', '{41,43,44}', 10, 'KG'),
    (42, 12, 'FRUTAS DE CLIMA TEMPERADO', '{MAÇÃ GALA,PERA WILLIAMS,UVA ITÁLIA}', '{KG,BANDEJA 500G}', '{41,42,43}', 10, 'KG'),
    (43, 13, 'LEGUMES', '{TOMATE,BATATA INGLESA,CEBOLA,CENOURA}', '{KG,SACO 2KG,CX 20KG}', '{41,42,43}', 10, 'KG'),
    (44, 13, 'VERDURAS', '{ALFACE CRESPA,COUVE MANTEIGA,CHEIRO-VERDE}', '{MAÇO,BANDEJA}', '{41,42,43}', 10, 'UN'),
    (45, 25, 'OVOS', '{OVOS BRANCOS,OVOS VERMELHOS,OVOS CAIPIRAS}', '{DZ,C/20,C/30}', '{45,43}', 10, 'UN'),
    (46, 25, 'TEMPEROS FRESCOS', '{ALHO,GENGIBRE}', '{KG,BANDEJA 200G}', '{41,43}', 10, 'KG'),
    (47, 17, 'CORTES BOVINOS', '{PICANHA,ALCATRA,CONTRAFILÉ,ACÉM,FRALDINHA}', '{KG,PEÇA,BANDEJA 1KG}', '{46,47}', 7, 'KG'),
    (48, 17, 'CARNE MOÍDA', '{PATINHO MOÍDO,ACÉM MOÍDO}', '{KG,BANDEJA 500G}', '{46,47}', 7, 'KG'),
    (49, 18, 'FRANGO', '{FRANGO INTEIRO CONGELADO,PEITO DE FRANGO,COXA E SOBRECOXA}', '{KG,BANDEJA 1KG}', '{47,48,49}', 7, 'KG'),
    (50, 19, 'SUÍNOS', '{PERNIL SUÍNO,COSTELA SUÍNA,LOMBO SUÍNO}', '{KG,BANDEJA 1KG}', '{47,49,50}', 7, 'KG'),
    (51, 19, 'LINGUIÇAS', '{LINGUIÇA TOSCANA,LINGUIÇA CALABRESA,LINGUIÇA DE FRANGO}', '{KG,PCT 700G}', '{48,49,50,47}', 7, 'KG'),
    (52, 20, 'PÃES FRESCOS', '{PÃO FRANCÊS,PÃO DE QUEIJO,PÃO DOCE}', '{KG,UN,PCT 10UN}', '{51,52}', 8, 'KG'),
    (53, 20, 'PÃES INDUSTRIALIZADOS', '{PÃO DE FORMA TRADICIONAL,PÃO DE FORMA INTEGRAL,PÃO SÍRIO}', '{350G,500G}', '{52,53,54}', 8, 'PCT'),
    (54, 21, 'BOLOS', '{BOLO DE CENOURA,BOLO DE CHOCOLATE,BOLO DE FUBÁ,PANETONE}', '{300G,500G,KG}', '{51,54}', 8, 'UN'),
    (55, 21, 'SALGADOS', '{COXINHA DE FRANGO,ESFIHA DE CARNE,PASTEL DE QUEIJO}', '{UN,PCT 10UN,KG,CENTO}', '{51}', 8, 'UN'),
    (56, 22, 'PANELAS', '{PANELA DE PRESSÃO,FRIGIDEIRA ANTIADERENTE,CAÇAROLA}', '{18CM,20CM,24CM,28CM}', '{55}', 9, 'UN'),
    (57, 22, 'UTENSÍLIOS', '{FACA DE CHURRASCO,JOGO DE TALHERES,POTE PLÁSTICO}', '{C/1,C/6,C/12,C/24}', '{55}', 9, 'UN'),
    (58, 23, 'DESCARTÁVEIS', '{COPO DESCARTÁVEL 200ML,PRATO DESCARTÁVEL,SACO DE LIXO 50L}', '{C/25,C/50,C/100}', '{56,55}', 12, 'PCT'),
    (59, 23, 'PAPEL ALUMÍNIO E FILME', '{PAPEL ALUMÍNIO,FILME PVC}', '{30CM X 4M,30CM X 7.5M,45CM X 7.5M}', '{56,55}', 12, 'UN'),
    (60, 28, 'LÂMPADAS', '{LÂMPADA LED BULBO 9W,LÂMPADA LED TUBULAR 18W}', '{BIVOLT,127V,220V}', '{57,55}', 9, 'UN'),
    (61, 28, 'PILHAS E BATERIAS', '{PILHA ALCALINA AA,PILHA ALCALINA AAA,BATERIA 9V}', '{C/2,C/4}', '{58,57}', 9, 'UN');

INSERT INTO cat (catcod, catdes, catsecpcod)
SELECT catcod, catdes, secpcod FROM demo_cat ORDER BY catcod;

INSERT INTO scat (scatcod, scatdes, scatcatcod)
SELECT c.catcod * 10 + s.n - 1, s.des, c.catcod
FROM demo_cat AS c, unnest(c.scats) WITH ORDINALITY AS s (des, n)
ORDER BY 1;

-- Parties -------------------------------------------------------------------------------------

INSERT INTO par (parcod, pardes, parfan, parcnpjcpf, partipo, parcidade, paruf, pardtcad) VALUES
    (1, 'SUPERMERCADO BOA VISTA LTDA', 'BOA VISTA', pg_temp.cnpj(4821735, 1), 'J', 'CAMPINAS', 'SP', DATE '2004-05-10'),
    (2, 'BOA VISTA ATACADO E VAREJO LTDA', 'BOA VISTA ATACADO', pg_temp.cnpj(19344580, 1), 'J', 'CAMPINAS', 'SP', DATE '2013-09-02'),
    -- Parties that are neither companies nor suppliers (carrier, customers).
    (3, 'TRANSPORTADORA RÁPIDO CERRADO LTDA', 'RÁPIDO CERRADO', pg_temp.cnpj(30517246, 1), 'J', 'GOIÂNIA', 'GO', DATE '2016-02-18'),
    (4, 'JOSÉ CARLOS DA CONCEIÇÃO', NULL, pg_temp.cpf(123456789), 'F', 'CAMPINAS', 'SP', DATE '2019-07-23'),
    (5, 'MARIA APARECIDA GONÇALVES', NULL, pg_temp.cpf(987654321), 'F', 'VALINHOS', 'SP', DATE '2021-11-05');

INSERT INTO emp (empparcod, empsigla) VALUES (1, 'BVS'), (2, 'BVA');

-- Suppliers 100..219: 8 kinds x 15 surnames give 120 distinct names (8 and 15 are coprime).
INSERT INTO par (parcod, pardes, parfan, parcnpjcpf, partipo, parcidade, paruf, pardtcad)
SELECT 100 + n,
       concat_ws(' ',
                 (ARRAY['DISTRIBUIDORA', 'COMERCIAL', 'ATACADO', 'INDÚSTRIA E COMÉRCIO', 'LATICÍNIOS',
                        'FRIGORÍFICO', 'REPRESENTAÇÕES', 'IMPORTADORA'])[n % 8 + 1],
                 (ARRAY['SANTOS', 'OLIVEIRA', 'SOUZA', 'PEREIRA', 'ALMEIDA', 'CONCEIÇÃO', 'ARAÚJO',
                        'GONÇALVES', 'RIBEIRO', 'CARVALHO', 'MONTEIRO', 'BRAGANÇA', 'FALCÃO', 'MAGALHÃES',
                        'ASSUNÇÃO'])[n % 15 + 1],
                 (ARRAY[NULL, 'DO NORDESTE', 'PAULISTA', 'MINEIRA', 'CAPIXABA', 'DO SUL', 'GOIANA'])[n % 7 + 1],
                 (ARRAY['LTDA', 'S/A', 'EIRELI', 'LTDA ME'])[n % 4 + 1]),
       CASE WHEN n % 13 = 5 THEN NULL
            ELSE (ARRAY['SANTOS', 'OLIVEIRA', 'SOUZA', 'PEREIRA', 'ALMEIDA', 'CONCEIÇÃO', 'ARAÚJO',
                        'GONÇALVES', 'RIBEIRO', 'CARVALHO', 'MONTEIRO', 'BRAGANÇA', 'FALCÃO', 'MAGALHÃES',
                        'ASSUNÇÃO'])[n % 15 + 1]
                 || ' ' || (ARRAY['DISTRIBUIDORA', 'ALIMENTOS', 'COMERCIAL', 'ATACADO', 'BEBIDAS', 'CARNES',
                                  'REPRESENTAÇÕES', 'IMPORTS'])[n % 8 + 1]
       END,
       pg_temp.cnpj((n * 7919393 + 10234567) % 100000000, CASE WHEN n % 11 = 3 THEN 2 ELSE 1 END),
       'J',
       (ARRAY['SÃO PAULO', 'CAMPINAS', 'BELO HORIZONTE', 'CURITIBA', 'GOIÂNIA', 'RECIFE', 'PORTO ALEGRE',
              'RIBEIRÃO PRETO', 'UBERLÂNDIA', 'JUNDIAÍ', 'VITÓRIA'])[n % 11 + 1],
       (ARRAY['SP', 'SP', 'MG', 'PR', 'GO', 'PE', 'RS', 'SP', 'MG', 'SP', 'ES'])[n % 11 + 1],
       DATE '2008-03-01' + (n * 37) % 5000
FROM generate_series(0, 119) AS n;

-- A name that fills the whole column.
UPDATE par SET pardes = 'COOPERATIVA AGROINDUSTRIAL DOS PRODUTORES DO VALE DO RIBEIRA',
               parfan = 'COOPERVALE'
WHERE parcod = 100;

INSERT INTO forn (forparcod, forprazo)
SELECT parcod, (ARRAY[7, 14, 21, 28, 30, 45, 60])[parcod % 7 + 1]
FROM par WHERE parcod >= 100 ORDER BY parcod;

-- Storage addresses ---------------------------------------------------------------------------

INSERT INTO dep_pro_enderecamento (depproendcod, depproenddes)
SELECT c, 'CORREDOR ' || lpad(((c - 1) / 4 + 1)::text, 2, '0')
          || ' - PRATELEIRA ' || chr(65 + ((c - 1) / 2) % 2)
          || ' - NÍVEL ' || ((c - 1) % 2 + 1)
FROM generate_series(1, 36) AS c;

INSERT INTO dep_pro_enderecamento (depproendcod, depproenddes) VALUES
    (37, 'CÂMARA FRIA 01 - RESFRIADOS'),
    (38, 'CÂMARA FRIA 02 - CONGELADOS'),
    (39, 'DEPÓSITO - DOCA DE RECEBIMENTO'),
    (40, 'ÁREA DE AVARIAS E TROCAS');

-- Products ------------------------------------------------------------------------------------

-- Hand-made rows: well-known items, a product without brand, long and odd codes,
-- a reference filling the whole column and the discontinued brand 60.
INSERT INTO pro (procod, prodes, proref, promarcascod, profamcod, proscatcod, proappcod, proun, proean, propreco, prodtcad) VALUES
    (1, 'AÇÚCAR CRISTAL 5KG', 'REF-000001', 5, 1, 30, 1, 'PCT', pg_temp.ean13(789100000001), 21.90, DATE '2010-01-04'),
    (2, 'FEIJÃO CARIOCA 1KG', 'REF-000002', 2, 1, 20, 1, 'PCT', pg_temp.ean13(789100000002), 8.49, DATE '2010-01-04'),
    (3, 'CAFÉ TORRADO 500G', 'REF-000003', 10, 1, 90, 1, 'PCT', pg_temp.ean13(789100000003), 17.98, DATE '2010-01-04'),
    (4991, 'CREME DENTAL KOLYNOS SUPER BRANCO 90G', 'REF-004991', 60, 5, 291, 1, 'UN', pg_temp.ean13(789100004991), 3.49, DATE '2005-06-01'),
    (4992, 'CREME DENTAL KOLYNOS HORTELÃ 50G', 'REF-004992', 60, 5, 290, 1, 'UN', pg_temp.ean13(789100004992), 2.29, DATE '2005-06-01'),
    (4993, 'ESCOVA DENTAL KOLYNOS MÉDIA', 'REF-004993', 60, 5, 300, 1, 'UN', pg_temp.ean13(789100004993), 4.90, DATE '2005-06-01'),
    (4994, 'LEITE CONDENSADO MOÇA 395G', 'REF-004994', 1, 6, 373, 1, 'UN', pg_temp.ean13(789100004994), 7.99, DATE '2011-03-15'),
    (4995, 'BANANA PRATA CLIMATIZADA KG', 'REF-004995', NULL, 10, 400, 1, 'KG', NULL, 6.98, DATE '2012-08-20'),
    (4996, 'ABACAXI PÉROLA UN', 'REF-004996', NULL, 10, 401, 1, 'UN', NULL, 8.99, DATE '2012-08-20'),
    (4997, 'CERVEJA PILSEN LATA SKOL 350ML FARDO C/12', 'REF-004997', 17, 2, 160, 6, 'FD', pg_temp.ean13(789100004997), 39.90, DATE '2018-12-01'),
    (4998, 'SACOLA PLÁSTICA REUTILIZÁVEL', 'REF-004998', NULL, 12, 582, 7, 'UN', NULL, 0.15, DATE '2019-05-02'),
    (4999, 'PANELA DE PRESSÃO TRAMONTINA 4.5L', 'TRAM-20501-045-PANELA-PRESSAO', 55, 9, 560, 1, 'UN', pg_temp.ean13(789100004999), 189.90, DATE '2020-02-10'),
    (5000, 'KIT CHURRASCO PICANHA, LINGUIÇA TOSCANA, CORAÇÃO DE FRANGO E PÃO DE ALHO 3KG', 'REF-005000', 51, 7, 470, 1, 'KIT', NULL, 149.90, DATE '2022-10-28'),
    (1234567890, 'CHOCOLATE AO LEITE NESTLÉ CLASSIC 90G', 'REF-1234567890', 1, 1, 120, 1, 'UN', pg_temp.ean13(789100010010), 6.49, DATE '2015-04-01'),
    (2000000001, 'QUEIJO MUÇARELA FATIADO BALANÇA KG', 'REF-2000000001', 51, 6, 382, 1, 'KG', NULL, 54.90, DATE '2016-07-11');

-- Generated rows 4..4990: subcategories take turns; within one, brand, then size, then product
-- line change, so no two products share a description.
INSERT INTO pro (procod, prodes, proref, promarcascod, profamcod, proscatcod, proappcod, proun, proean, propreco, prodtcad)
WITH s AS (
    SELECT sc.scatcod, sc.scatdes, c.tams, c.marcas, c.famcod, c.un,
           row_number() OVER (ORDER BY sc.scatcod) - 1 AS t
    FROM scat AS sc JOIN demo_cat AS c ON c.catcod = sc.scatcatcod
), g AS (
    SELECT i, (i - 4) % n.nt AS t, (i - 4) / n.nt AS k
    FROM generate_series(4, 4990) AS i, (SELECT count(*) AS nt FROM scat) AS n
), x AS (
    SELECT g.i, s.*,
           s.marcas[g.k % cardinality(s.marcas) + 1] AS marca,
           s.tams[(g.k / cardinality(s.marcas)) % cardinality(s.tams) + 1] AS tam,
           (ARRAY[NULL, 'TRADICIONAL', 'PREMIUM', 'ECONÔMICO', 'ESPECIAL', 'SELEÇÃO', 'CLÁSSICO', 'PLUS',
                  'EXTRA', 'MAX', 'GOLD', 'FAMÍLIA', 'ORIGINAL', 'LIGHT'])
               [g.k / (cardinality(s.marcas) * cardinality(s.tams)) + 1] AS linha
    FROM g JOIN s ON s.t = g.t
)
SELECT x.i,
       concat_ws(' ', x.scatdes, x.linha, m.marcasdes, x.tam),
       CASE WHEN x.i % 250 = 0 THEN NULL ELSE 'REF-' || lpad(x.i::text, 6, '0') END,
       x.marca, x.famcod, x.scatcod,
       CASE WHEN x.i % 97 = 0 THEN NULL
            WHEN x.i % 13 = 0 THEN 2
            WHEN x.i % 29 = 0 THEN 5
            WHEN x.i % 31 = 0 THEN 4
            WHEN x.i % 43 = 0 THEN 3
            WHEN x.i % 53 = 0 THEN 6
            ELSE 1 END,
       x.un,
       CASE WHEN x.un = 'KG' OR x.marca = 51 THEN NULL
            ELSE pg_temp.ean13(789000000000 + ((x.marca * 37) % 9000 + 1000) * 100000 + x.i) END,
       round(((x.i * 7919) % 9000 + 199) / 100.0, 2),
       DATE '2009-01-05' + (x.i * 13) % 5000
FROM x JOIN marcas AS m ON m.marcascod = x.marca
ORDER BY x.i;

-- Main supplier and net cost: every 17th product has no supplier on file; the cost is 55 % to
-- 84 % of the price.
UPDATE pro
SET proforparcod = CASE WHEN procod % 17 = 0 THEN NULL ELSE 100 + (procod::bigint * 7) % 120 END,
    procusto = round(propreco * (55 + procod % 30) / 100.0, 2);

-- Stock ---------------------------------------------------------------------------------------

-- Most products are stocked in company 1, two thirds of them also in company 2. The flag cycles
-- 'N', NULL, 'S'; the discontinued brand only has 'S'. A few rows have no address yet.
INSERT INTO est (estprocod, estempparcod, estdepproendcod, estqtd, estqtdmin, estforalinha)
SELECT p.procod, e.emp,
       CASE WHEN (p.procod::bigint + e.emp) % 89 = 0 THEN NULL -- not yet given an address
            WHEN p.procod % 101 = 0 THEN 40
            WHEN se.secpdeppcod = 6 THEN 38
            WHEN p.profamcod = 6 THEN 37
            ELSE 1 + (p.procod % 1000 * 7 + e.emp * 3) % 36 END,
       CASE WHEN p.procod % 97 = 0 THEN -(p.procod % 7 + 1)
            WHEN p.proun = 'KG' THEN ((p.procod % 100000 * 7919 + e.emp * 104729) % 200000) / 1000.0
            ELSE (p.procod % 100000 * 31 + e.emp * 17) % 240 END,
       (p.procod % 5) * 5,
       CASE WHEN p.promarcascod = 60 THEN 'S'
            ELSE (ARRAY['N', NULL, 'S'])[(p.procod % 3 + e.emp) % 3 + 1] END
FROM pro AS p
JOIN scat AS sc ON sc.scatcod = p.proscatcod
JOIN cat AS c ON c.catcod = sc.scatcatcod
JOIN secp AS se ON se.secpcod = c.catsecpcod
CROSS JOIN (VALUES (1), (2)) AS e (emp)
WHERE (e.emp = 1 AND p.procod % 19 <> 0)
   OR (e.emp = 2 AND p.procod % 3 <> 0)
ORDER BY 1, 2;

DROP TABLE demo_cat;
