package visualizador.janela;

import java.awt.print.PageFormat;
import java.awt.print.Pageable;
import java.awt.print.Printable;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.printing.PDFPageable;
import visualizador.formatos.IntervaloPaginas;

/**
 * The pages to print, all or a range, as the print job sees them: its page 0 is the range's first.
 * The page count comes from what is known (the print system asks on the event thread); the pages
 * themselves are read on the drawing thread, where the job runs.
 */
final class PaginasParaImprimir implements Pageable {
    private final PDDocument documento;
    private final int deslocamento;
    private final int quantas;
    private PDFPageable pdfbox;

    /** {@code intervalo}: null for all {@code total} pages. */
    PaginasParaImprimir(PDDocument documento, int total, IntervaloPaginas intervalo) {
        this.documento = documento;
        this.deslocamento = intervalo == null ? 0 : intervalo.primeira() - 1;
        this.quantas = intervalo == null ? total : intervalo.quantas();
    }

    private PDFPageable pdfbox() {
        if (pdfbox == null) pdfbox = new PDFPageable(documento);
        return pdfbox;
    }

    @Override
    public int getNumberOfPages() {
        return quantas;
    }

    @Override
    public PageFormat getPageFormat(int pagina) {
        return pdfbox().getPageFormat(noDocumento(pagina));
    }

    @Override
    public Printable getPrintable(int pagina) {
        final Printable p = pdfbox().getPrintable(noDocumento(pagina));
        // PDFBox's printable draws the page of the index the job passes: the job's, not the document's.
        return (grafico, formato, indice) -> indice >= quantas ? Printable.NO_SUCH_PAGE
                : p.print(grafico, formato, indice + deslocamento);
    }

    private int noDocumento(int pagina) {
        if (pagina < 0 || pagina >= quantas) throw new IndexOutOfBoundsException("página " + pagina + " de " + quantas);
        return pagina + deslocamento;
    }
}
