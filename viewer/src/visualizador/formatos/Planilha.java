package visualizador.formatos;

import java.io.IOException;

/**
 * A spreadsheet file being written, sheet by sheet and row by row in increasing order. Cells are
 * text (String), numbers (Number) or formulas with their value ({@link FormulaXls}); the file is in place only after {@link #concluir()}: closing
 * without it leaves none.
 */
interface Planilha extends AutoCloseable {
    /** Rows a sheet holds. */
    int linhasPorFolha();

    /** Starts a sheet; its rows above {@code congeladas} stay in view while scrolling. */
    void novaFolha(String nome, int[] larguras256, int congeladas) throws IOException;

    /** One row of the current sheet; a null cell is left empty. */
    void linha(int indice, Object[] celulas, EstiloXls[] estilos) throws IOException;

    /**
     * A row holding one wrapped text across the first {@code colunas} columns (merged), tall
     * enough for {@code linhasDeTexto} lines.
     */
    void linhaLarga(int indice, String texto, EstiloXls estilo, int colunas, int linhasDeTexto) throws IOException;

    /** The current sheet's auto-filter, rows {@code primeira} to {@code ultima}, from column A. */
    void filtro(int primeira, int ultima, int colunas);

    void concluir() throws IOException;

    @Override
    void close() throws IOException;
}
