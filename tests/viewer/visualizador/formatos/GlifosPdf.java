package visualizador.formatos;

import java.io.IOException;
import java.io.StringWriter;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Comparator;
import java.util.List;
import java.util.Map;
import java.util.TreeMap;
import org.apache.pdfbox.contentstream.operator.color.SetNonStrokingColor;
import org.apache.pdfbox.contentstream.operator.color.SetNonStrokingColorSpace;
import org.apache.pdfbox.contentstream.operator.color.SetNonStrokingDeviceGrayColor;
import org.apache.pdfbox.contentstream.operator.color.SetNonStrokingDeviceRGBColor;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.text.PDFTextStripper;
import org.apache.pdfbox.text.TextPosition;

/** Every glyph of a PDF as PDFBox reads it back: page, place, size and fill colour. */
final class GlifosPdf extends PDFTextStripper {
    record Glifo(int pagina, String texto, float x0, float x1, float y, float tamanho, boolean vermelho) {}

    /** The glyphs of one printed line, left to right, and the runs they form (cells). */
    record Linha(int pagina, float y, List<Glifo> glifos) {
        String texto() {
            final StringBuilder s = new StringBuilder();
            for (Glifo g : glifos) s.append(g.texto());
            return s.toString();
        }

        /** Runs of glyphs with no blank between them wider than half a point. */
        List<List<Glifo>> trechos() {
            final List<List<Glifo>> r = new ArrayList<>();
            for (Glifo g : glifos) {
                if (r.isEmpty() || g.x0() - r.get(r.size() - 1).get(r.get(r.size() - 1).size() - 1).x1() > 0.5f)
                    r.add(new ArrayList<>());
                r.get(r.size() - 1).add(g);
            }
            return r;
        }
    }

    private final List<Glifo> glifos = new ArrayList<>();

    private GlifosPdf() throws IOException {
        addOperator(new SetNonStrokingColorSpace());
        addOperator(new SetNonStrokingColor());
        addOperator(new SetNonStrokingDeviceRGBColor());
        addOperator(new SetNonStrokingDeviceGrayColor());
    }

    static List<Glifo> ler(Path pdf) throws IOException {
        final GlifosPdf g = new GlifosPdf();
        try (PDDocument d = PDDocument.load(pdf.toFile())) {
            g.writeText(d, new StringWriter());
        }
        return g.glifos;
    }

    /** The printed lines of every page, top to bottom. */
    static List<Linha> linhas(Path pdf) throws IOException {
        final Map<Integer, TreeMap<Float, List<Glifo>>> porPagina = new TreeMap<>();
        for (Glifo g : ler(pdf))
            porPagina.computeIfAbsent(g.pagina(), p -> new TreeMap<>()).computeIfAbsent(g.y(), y -> new ArrayList<>())
                    .add(g);
        final List<Linha> linhas = new ArrayList<>();
        porPagina.forEach((p, ys) -> ys.forEach((y, l) -> {
            l.sort(Comparator.comparing(Glifo::x0));
            linhas.add(new Linha(p, y, l));
        }));
        return linhas;
    }

    @Override
    protected void processTextPosition(TextPosition t) {
        final float[] cor = getGraphicsState().getNonStrokingColor().getComponents();
        glifos.add(new Glifo(getCurrentPageNo(), t.getUnicode(), t.getXDirAdj(), t.getXDirAdj() + t.getWidthDirAdj(),
                Math.round(t.getYDirAdj() * 10) / 10f, t.getFontSizeInPt(), cor.length == 3 && cor[0] > 0.5f && cor[1] < 0.2f));
    }
}
