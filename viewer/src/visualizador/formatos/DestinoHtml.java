package visualizador.formatos;

import java.io.IOException;
import java.nio.file.Path;
import visualizador.pagina.DestinoTabela;

/**
 * The report as one self-contained HTML page (UTF-8, inline style, nothing fetched): the page
 * header, then one table with group headers, lines, subtotals and the grand total; a summary has
 * one row per group with its count and sums instead. Negative figures are red. Written as it
 * comes, so memory does not grow with the report; the page appears only once complete.
 */
public final class DestinoHtml extends DestinoTabela {
    public DestinoHtml(Path arquivo) throws IOException {
        super(new SaidaHtml(arquivo));
    }
}
