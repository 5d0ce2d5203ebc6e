package visualizador.formatos;

import java.io.IOException;
import java.nio.file.Path;
import org.apache.pdfbox.io.MemoryUsageSetting;
import org.apache.pdfbox.pdmodel.PDDocument;
import visualizador.ErroRelatorio;

/**
 * Some pages of a finished report PDF, as a PDF of their own. The pages keep what they show,
 * footers too ("Página 3 de 40"): an excerpt of the report, not a shorter report.
 */
public final class RecortePdf {
    private RecortePdf() {}

    /**
     * Writes pages {@code intervalo} of {@code origem} to {@code destino}; a range beyond the last
     * page is refused and nothing is written.
     */
    public static void recortar(Path origem, IntervaloPaginas intervalo, Path destino) throws IOException, ErroRelatorio {
        // The report's scratch stays in memory, as the writer's does: nothing of it outlives the process.
        try (PDDocument doc = PDDocument.load(origem.toFile(), MemoryUsageSetting.setupMainMemoryOnly());
                PDDocument recorte = new PDDocument(MemoryUsageSetting.setupMainMemoryOnly())) {
            intervalo.verificar(doc.getNumberOfPages());
            recorte.setDocumentInformation(doc.getDocumentInformation());
            recorte.getDocument().setVersion(doc.getVersion());
            for (int p = intervalo.primeira(); p <= intervalo.ultima(); p++) recorte.importPage(doc.getPage(p - 1));
            recorte.save(destino.toFile());
        }
    }
}
