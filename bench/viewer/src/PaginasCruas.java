import java.io.File;
import org.apache.pdfbox.io.MemoryUsageSetting;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.pdmodel.PDPage;
import org.apache.pdfbox.pdmodel.PDPageContentStream;
import org.apache.pdfbox.pdmodel.common.PDRectangle;
import org.apache.pdfbox.pdmodel.font.PDType0Font;

/**
 * The least a PDF report needs from PDFBox: LINES lines of plain text (one fixed 150-character
 * line) placed on A4 landscape pages in the same embedded font, then saved: 45 to a page, or
 * spread over PAGES pages, as many as the report being compared has.
 * Usage: PaginasCruas LINES OUTPUT.pdf [PAGES]
 */
public final class PaginasCruas {
    public static void main(String[] args) throws Exception {
        final long linhas = Long.parseLong(args[0]);
        final long porPagina = args.length > 2 ? Math.max(1, (linhas + Long.parseLong(args[2]) - 1) / Long.parseLong(args[2])) : 45;
        final float passo = Math.min(10.5f, 470f / porPagina);
        final String texto = "4991 - CORREDOR 01 - PRATELEIRA A   1 - SUPERMERCADO BOA VISTA   4991   CREME DENTAL"
                + " KOLYNOS SUPER BRANCO 90G   REF-004991   UN   123,000   1.234,56   987,65";
        final PDRectangle a4 = new PDRectangle(PDRectangle.A4.getHeight(), PDRectangle.A4.getWidth());
        try (PDDocument doc = new PDDocument(MemoryUsageSetting.setupTempFileOnly())) {
            final PDType0Font fonte = PDType0Font.load(doc, new File("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
            long feitas = 0;
            while (feitas < linhas) {
                final PDPage pagina = new PDPage(a4);
                doc.addPage(pagina);
                try (PDPageContentStream cs = new PDPageContentStream(doc, pagina)) {
                    cs.setFont(fonte, 7);
                    for (int i = 0; i < porPagina && feitas < linhas; i++, feitas++) {
                        cs.beginText();
                        cs.newLineAtOffset(28, 520 - i * passo);
                        cs.showText(texto);
                        cs.endText();
                    }
                }
            }
            doc.save(new File(args[1]));
            System.out.println(doc.getNumberOfPages());
        }
    }
}
