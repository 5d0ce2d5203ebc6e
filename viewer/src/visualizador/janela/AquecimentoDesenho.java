package visualizador.janela;

import java.io.IOException;
import java.io.OutputStream;
import java.nio.charset.StandardCharsets;
import java.util.function.BooleanSupplier;
import org.apache.pdfbox.cos.COSName;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.pdmodel.PDPage;
import org.apache.pdfbox.pdmodel.PDResources;
import org.apache.pdfbox.pdmodel.common.PDStream;
import org.apache.pdfbox.pdmodel.font.PDFont;
import org.apache.pdfbox.rendering.ImageType;
import org.apache.pdfbox.rendering.PDFRenderer;

/**
 * A throw-away page set in the fonts of the report's first page, drawn once: what the first real
 * page would otherwise pay (the fonts read, the drawing code loaded and compiled) is paid ahead.
 */
final class AquecimentoDesenho {
    private static final String AMOSTRA = "0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz ÁÂÃÇÉÊÍÓÔÕÚ .,-/:()";
    private static final long ESPERA_MAXIMA_MS = 10_000;
    private static final int LINHAS = 12;
    private static final int VEZES = 6;

    private AquecimentoDesenho() {}

    /**
     * Waits (briefly) for the report's first page object, then draws the sample with its fonts a
     * few times, until {@code bastou}.
     */
    static void desenhar(PDDocument doc, float escala, BooleanSupplier bastou) throws IOException {
        final long limite = System.currentTimeMillis() + ESPERA_MAXIMA_MS;
        while (true) {
            final String conteudo;
            final PDResources recursos;
            synchronized (doc) {
                recursos = doc.getNumberOfPages() > 0 ? doc.getPage(0).getResources() : null;
                // The fonts are read from the document here; the drawing below needs no lock.
                conteudo = recursos == null ? null : amostra(recursos);
            }
            if (conteudo != null) {
                desenharCom(recursos, conteudo, escala, bastou);
                return;
            }
            if (System.currentTimeMillis() > limite) return;
            try {
                Thread.sleep(20);
            } catch (InterruptedException e) {
                Thread.currentThread().interrupt();
                return;
            }
        }
    }

    /** A page's worth of lines in each font, so the drawing code runs often enough to be compiled. */
    private static String amostra(PDResources recursos) throws IOException {
        final StringBuilder ops = new StringBuilder("BT 20 560 Td ");
        for (COSName nome : recursos.getFontNames()) {
            final PDFont fonte = recursos.getFont(nome);
            if (fonte == null) continue;
            final StringBuilder hex = new StringBuilder();
            for (byte b : fonte.encode(AMOSTRA)) hex.append(String.format("%02x", b & 0xff));
            ops.append('/').append(nome.getName()).append(" 7 Tf ");
            for (int i = 0; i < LINHAS; i++) ops.append("0 -10 Td <").append(hex).append("> Tj ");
        }
        return ops.append("ET").toString();
    }

    private static void desenharCom(PDResources recursos, String ops, float escala, BooleanSupplier bastou)
            throws IOException {
        try (PDDocument amostra = new PDDocument()) {
            final PDPage pagina = new PDPage(new org.apache.pdfbox.pdmodel.common.PDRectangle(842, 595));
            pagina.setResources(recursos);
            final PDStream conteudo = new PDStream(amostra);
            try (OutputStream o = conteudo.createOutputStream()) {
                o.write(ops.getBytes(StandardCharsets.US_ASCII));
            }
            pagina.setContents(conteudo);
            amostra.addPage(pagina);
            final PDFRenderer r = new PDFRenderer(amostra);
            // A real page ready goes first: the warm-up stops between two drawings.
            for (int i = 0; i < VEZES && !bastou.getAsBoolean(); i++) r.renderImage(0, escala, ImageType.RGB);
        }
    }
}
