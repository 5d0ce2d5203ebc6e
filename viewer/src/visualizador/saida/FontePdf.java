package visualizador.saida;

import java.io.IOException;
import java.io.OutputStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.TreeMap;
import org.apache.pdfbox.cos.COSDictionary;
import org.apache.pdfbox.cos.COSName;
import org.apache.pdfbox.cos.COSStream;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.pdmodel.font.PDType0Font;

/**
 * An embedded TrueType font with each character's code and width looked up once: a report of a
 * million lines measures and writes its text from two arrays instead of PDFBox's per-call encoding.
 *
 * <p>Codes are the font's own glyph ids in two bytes (Identity-H), or, for a file, printable ASCII
 * in one byte as itself and any other character in two bytes, 0x8000 plus its glyph id (a CMap of
 * our own, written by {@link #gravarCodificacao}): report text is nearly all ASCII, and half the
 * bytes is half the compressing.
 */
final class FontePdf {
    static final char RETICENCIAS = '\u2026';

    /** The resource name the page content uses ("F1"). */
    final String nome;
    final PDType0Font pd;
    // By character: its code, two-byte ones marked with DOIS_BYTES; 0 = not looked up yet.
    private final int[] codigos = new int[65536];
    private final float[] larguras = new float[65536]; // advance in thousandths of the font size

    static final int DOIS_BYTES = 0x10000;
    private static final int LONGOS = 0x8000; // the first two-byte code of the ASCII coding

    private final boolean ascii;
    private final int[] curtos = new int[0x80]; // ASCII coding: glyph of each one-byte code written (0: none)
    private final Map<Integer, Character> longos = new TreeMap<>(); // ASCII coding: two-byte code -> char

    /** @param ascii one-byte codes for printable ASCII (a file), else Identity-H (the preview) */
    FontePdf(PDDocument doc, Path arquivo, String nome, boolean ascii) throws IOException {
        this.ascii = ascii;
        if (!Files.isReadable(arquivo))
            throw new IOException("fonte " + arquivo + " não encontrada (pacote fonts-dejavu-core)");
        this.pd = PDType0Font.load(doc, arquivo.toFile());
        this.nome = nome;
        if (glifoNaFonte('?') <= 0) throw new IOException("a fonte " + arquivo + " não tem os caracteres básicos");
    }

    /** The code that shows {@code c}: one byte, or two when {@link #DOIS_BYTES} is set. */
    int codigo(char c) {
        final int g = codigos[c];
        return g != 0 ? g : conhecer(c);
    }

    /** Width in thousandths of the font size. */
    float largura(char c) {
        if (codigos[c] == 0) conhecer(c);
        return larguras[c];
    }

    float largura(CharSequence s) {
        return largura(s, Float.MAX_VALUE);
    }

    /** The width of {@code s}, or, once past {@code maximo}, some width beyond it (no need to go on). */
    float largura(CharSequence s, float maximo) {
        float w = 0;
        for (int i = 0, n = s.length(); i < n && w <= maximo; i++) w += largura(s.charAt(i));
        return w;
    }

    /** How many leading characters of {@code s} fit in {@code maximo} thousandths of the size. */
    int caber(CharSequence s, float maximo) {
        return caber(s, 0, maximo);
    }

    /** The end of the longest piece of {@code s} from {@code inicio} that fits in {@code maximo}. */
    int caber(CharSequence s, int inicio, float maximo) {
        float w = 0;
        for (int i = inicio, n = s.length(); i < n; i++) {
            w += largura(s.charAt(i));
            if (w > maximo) return i;
        }
        return s.length();
    }

    float largura(CharSequence s, int inicio, int fim) {
        float w = 0;
        for (int i = inicio; i < fim; i++) w += largura(s.charAt(i));
        return w;
    }

    // Control characters print as a blank, characters the font lacks (and each half of a
    // surrogate pair) as "?": an unprintable character must never stop the report.
    private int conhecer(char c) {
        char usar = Character.isISOControl(c) ? ' ' : Character.isSurrogate(c) ? '?' : c;
        int gid = glifoNaFonte(usar);
        if (gid <= 0) {
            usar = '?';
            gid = glifoNaFonte(usar);
        }
        pd.addToSubset(usar);
        try {
            // Rounded as the embedded font's width table has them, so that positions computed
            // here are where a reader draws the glyphs.
            larguras[c] = Math.round(pd.getWidthFromFont(gid));
        } catch (IOException e) {
            larguras[c] = pd.getAverageFontWidth();
        }
        final int codigo;
        if (!ascii) {
            codigo = DOIS_BYTES | gid;
        } else if (usar >= ' ' && usar < 0x7f) {
            codigo = usar;
            curtos[usar] = gid;
        } else {
            codigo = DOIS_BYTES | LONGOS | gid;
            longos.putIfAbsent(LONGOS | gid, usar);
        }
        codigos[c] = codigo;
        return codigo;
    }

    /**
     * For the ASCII coding, once the pages are written and the font subset: the font's encoding
     * CMap and the CMap that gives text extraction and search the characters back.
     */
    void gravarCodificacao(PDDocument doc) throws IOException {
        if (!ascii) return;
        final List<String> cid = new ArrayList<>();
        final List<String> unicode = new ArrayList<>();
        for (char c = ' '; c < 0x7f; c++) {
            if (curtos[c] == 0) continue;
            cid.add(String.format("<%02X> %d", (int) c, curtos[c]));
            unicode.add(String.format("<%02X> <%04X>", (int) c, (int) c));
        }
        for (Map.Entry<Integer, Character> e : longos.entrySet())
            unicode.add(String.format("<%04X> <%04X>", e.getKey(), (int) e.getValue()));
        final COSDictionary fonte = pd.getCOSObject();
        final COSStream codificacao = cmap(doc, "ZV-Ascii-H", "Identity", "/CMapType 1 def\n",
                blocos("cidchar", cid) + "1 begincidrange\n<8000> <FFFF> 0\nendcidrange\n");
        codificacao.setItem(COSName.TYPE, COSName.getPDFName("CMap"));
        codificacao.setItem(COSName.getPDFName("CMapName"), COSName.getPDFName("ZV-Ascii-H"));
        codificacao.setItem(COSName.getPDFName("CIDSystemInfo"), sistema("Identity"));
        fonte.setItem(COSName.ENCODING, codificacao);
        fonte.setItem(COSName.TO_UNICODE, cmap(doc, "ZV-Ascii-UCS", "UCS", "/CMapType 2 def\n", blocos("bfchar", unicode)));
    }

    private static COSDictionary sistema(String ordem) {
        final COSDictionary d = new COSDictionary();
        d.setString(COSName.REGISTRY, "Adobe");
        d.setString(COSName.ORDERING, ordem);
        d.setInt(COSName.SUPPLEMENT, 0);
        return d;
    }

    // A CMap holds at most 100 entries between a begin and its end.
    private static String blocos(String tipo, List<String> entradas) {
        final StringBuilder s = new StringBuilder();
        for (int i = 0; i < entradas.size(); i += 100) {
            final List<String> bloco = entradas.subList(i, Math.min(entradas.size(), i + 100));
            s.append(bloco.size()).append(" begin").append(tipo).append('\n');
            for (String e : bloco) s.append(e).append('\n');
            s.append("end").append(tipo).append('\n');
        }
        return s.toString();
    }

    private static COSStream cmap(PDDocument doc, String nome, String ordem, String tipo, String corpo)
            throws IOException {
        final String texto = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                + "/CIDSystemInfo << /Registry (Adobe) /Ordering (" + ordem + ") /Supplement 0 >> def\n"
                + "/CMapName /" + nome + " def\n" + tipo
                + "2 begincodespacerange\n<00> <7F>\n<8000> <FFFF>\nendcodespacerange\n" + corpo
                + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
        final COSStream s = doc.getDocument().createCOSStream();
        try (OutputStream out = s.createOutputStream(COSName.FLATE_DECODE)) {
            out.write(texto.getBytes(StandardCharsets.US_ASCII));
        }
        return s;
    }

    private int glifoNaFonte(char c) {
        try {
            final byte[] b = pd.encode(String.valueOf(c));
            return b.length == 2 ? (b[0] & 0xff) << 8 | (b[1] & 0xff) : -1;
        } catch (IOException | IllegalArgumentException e) {
            return -1; // no glyph for it
        }
    }
}
