package visualizador.janela;

import java.awt.geom.Rectangle2D;
import java.io.IOException;
import java.util.ArrayList;
import java.util.List;
import java.util.Locale;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.text.PDFTextStripper;
import org.apache.pdfbox.text.TextPosition;

/**
 * Where a text occurs on one page: the box of each occurrence, in points from the page's top
 * left corner, in reading order. Letter case is ignored. Read while holding the document's monitor.
 */
final class TextoDaPagina extends PDFTextStripper {
    private final StringBuilder texto = new StringBuilder();
    private final List<TextPosition> posicoes = new ArrayList<>(); // one per char of texto; null: a blank

    private TextoDaPagina() throws IOException {
        setSortByPosition(true); // cells of a line are written left to right, but say so
    }

    static List<Rectangle2D.Float> ocorrencias(PDDocument doc, int pagina, String procurado) throws IOException {
        final TextoDaPagina t = new TextoDaPagina();
        synchronized (doc) {
            t.setStartPage(pagina + 1);
            t.setEndPage(pagina + 1);
            t.writeText(doc, java.io.Writer.nullWriter());
        }
        return t.achar(procurado.toLowerCase(Locale.ROOT));
    }

    @Override
    protected void writeString(String s, List<TextPosition> textPositions) {
        for (TextPosition p : textPositions) {
            final String u = p.getUnicode();
            for (int i = 0; i < u.length(); i++) {
                texto.append(u.charAt(i));
                posicoes.add(p);
            }
        }
    }

    @Override
    protected void writeWordSeparator() {
        blank();
    }

    @Override
    protected void writeLineSeparator() {
        blank();
    }

    private void blank() {
        texto.append(' ');
        posicoes.add(null);
    }

    private List<Rectangle2D.Float> achar(String procurado) {
        final List<Rectangle2D.Float> r = new ArrayList<>();
        if (procurado.isEmpty()) return r;
        final String minusculo = texto.toString().toLowerCase(Locale.ROOT);
        // Lower-casing keeps the length for the text a report holds; if not, positions would drift.
        if (minusculo.length() != texto.length()) return r;
        for (int i = minusculo.indexOf(procurado); i >= 0; i = minusculo.indexOf(procurado, i + procurado.length())) {
            Rectangle2D.Float caixa = null;
            for (int k = i; k < i + procurado.length(); k++) {
                final TextPosition p = posicoes.get(k);
                if (p == null) continue;
                final Rectangle2D.Float c = new Rectangle2D.Float(p.getXDirAdj(), p.getYDirAdj() - p.getHeightDir(),
                        p.getWidthDirAdj(), p.getHeightDir());
                if (caixa == null) caixa = c;
                else caixa.add(c);
            }
            if (caixa != null) r.add(caixa);
        }
        return r;
    }
}
