package visualizador.formatos;

import java.io.IOException;
import java.nio.file.Path;
import java.util.Locale;
import visualizador.Formato;
import visualizador.pagina.DestinoTabela;

/**
 * The report as a spreadsheet the user can sort and filter. Above the table, what it covers:
 * title, filters, grouping and ordering, moment of issue. Then one flat table: the column titles
 * frozen, an auto-filter over the table only, one row per line with every column (the grouping's
 * included), typed cells, and a bold grand-total line below. Group headers and subtotals would
 * break sorting, so they are left out; a summary has instead one row per group with its count and
 * sums. Past a sheet's rows the table goes on in "Relatório (2)", and so on.
 *
 * The grand total's count and sums are SUBTOTAL formulas over the table on every sheet, so they
 * follow the auto-filter (hidden rows are left out); each carries the whole report's figure as its
 * value, for readers that do not compute formulas.
 *
 * A name ending in ".xlsx" gets the Office Open XML format, streamed to the file row by row, so
 * any length fits the heap; any other name gets .xls.
 */
public final class DestinoXls extends DestinoTabela {
    /**
     * The most lines written to .xls; above it the report goes to .xlsx. HSSF keeps the whole
     * workbook in memory, then builds the whole file in memory again to write it. Measured with
     * lines like the design's (11 columns, two long composed texts, a distinct description and
     * reference per line, four numbers, a date): 1.64 KB of live heap per line once filled, and
     * writing roughly doubles that. With -Xmx512m, 180,000 lines were written and 200,000 ran out
     * of memory while writing; 100,000 lines were written in a 300 MB heap (24 MB file), which
     * leaves some 200 MB of a 512 MB heap to the rest of the viewer (the preview's PDF among it).
     */
    public static final long LIMITE_LINHAS = 100_000;
    /** Rows of a .xls sheet, the header block included. */
    static final int LINHAS_POR_FOLHA = 65_536;

    public DestinoXls(Path arquivo) throws IOException {
        super(new SaidaXls(arquivo));
    }

    /** The .xlsx name of a .xls one: "r.xls" is "r.xlsx"; any other name gets ".xlsx" added. */
    public static Path comoXlsx(Path arquivo) {
        final String n = arquivo.getFileName().toString();
        if (Formato.xlsx(arquivo)) return arquivo;
        final boolean xls = n.toLowerCase(Locale.ROOT).endsWith(".xls");
        return arquivo.resolveSibling((xls ? n.substring(0, n.length() - 4) : n) + ".xlsx");
    }
}
