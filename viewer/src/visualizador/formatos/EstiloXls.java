package visualizador.formatos;

import visualizador.design.Alinhamento;

/**
 * How a spreadsheet cell looks, whatever the file format: its number format (null for general),
 * alignment, font, whether it is a column title (grey, underlined) and whether its text wraps.
 */
record EstiloXls(String formato, Alinhamento alinhamento, Fonte fonte, boolean tituloColuna, boolean quebrar) {
    enum Fonte { NORMAL, NEGRITO, GRANDE }

    /** Column titles wrap, other cells do not. */
    EstiloXls(String formato, Alinhamento alinhamento, Fonte fonte, boolean tituloColuna) {
        this(formato, alinhamento, fonte, tituloColuna, tituloColuna);
    }
}
