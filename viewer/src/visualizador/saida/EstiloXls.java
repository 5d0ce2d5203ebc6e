package visualizador.saida;

import visualizador.design.Alinhamento;

/**
 * How a spreadsheet cell looks, whatever the file format: its number format (null for general),
 * alignment, font, and whether it is a column title (grey, underlined, wrapped).
 */
record EstiloXls(String formato, Alinhamento alinhamento, Fonte fonte, boolean tituloColuna) {
    enum Fonte { NORMAL, NEGRITO, GRANDE }
}
