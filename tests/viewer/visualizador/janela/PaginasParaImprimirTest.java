package visualizador.janela;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;

import java.awt.Graphics2D;
import java.awt.image.BufferedImage;
import java.awt.print.PageFormat;
import java.awt.print.Printable;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.pdmodel.PDPage;
import org.apache.pdfbox.pdmodel.common.PDRectangle;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.formatos.IntervaloPaginas;

/** The print job's page i is the range's page i: each page here is as wide as 100 + its number. */
class PaginasParaImprimirTest {
    @ParameterizedTest(name = "{0}-{1} of 10")
    @CsvSource({"3, 7", "1, 10", "10, 10", "0, 0"}) // 0-0: no range, all pages
    void paginaDoTrabalhoEhAdoIntervalo(int primeira, int ultima) throws Exception {
        try (PDDocument doc = new PDDocument()) {
            for (int p = 1; p <= 10; p++) doc.addPage(new PDPage(new PDRectangle(100 + p, 200)));
            final IntervaloPaginas intervalo = primeira == 0 ? null : new IntervaloPaginas(primeira, ultima);
            final PaginasParaImprimir paginas = new PaginasParaImprimir(doc, 10, intervalo);
            final int inicio = primeira == 0 ? 1 : primeira;
            final int quantas = primeira == 0 ? 10 : ultima - primeira + 1;
            assertEquals(quantas, paginas.getNumberOfPages());
            final Graphics2D g = new BufferedImage(10, 10, BufferedImage.TYPE_INT_RGB).createGraphics();
            for (int i = 0; i < quantas; i++) {
                final PageFormat formato = paginas.getPageFormat(i);
                final double largura = Math.min(formato.getWidth(), formato.getHeight());
                assertEquals(100 + inicio + i, largura, 0.01, "job page " + i);
                assertEquals(Printable.PAGE_EXISTS, paginas.getPrintable(i).print(g, formato, i));
            }
            assertEquals(Printable.NO_SUCH_PAGE, paginas.getPrintable(0).print(g, paginas.getPageFormat(0), quantas));
            assertThrows(IndexOutOfBoundsException.class, () -> paginas.getPageFormat(quantas));
            g.dispose();
        }
    }
}
