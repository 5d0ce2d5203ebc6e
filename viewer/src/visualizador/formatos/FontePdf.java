package visualizador.formatos;

import java.io.IOException;
import java.io.OutputStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import java.util.TreeMap;
import org.apache.pdfbox.cos.COSDictionary;
import org.apache.pdfbox.cos.COSName;
import org.apache.pdfbox.cos.COSStream;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.pdmodel.font.PDType0Font;
import visualizador.pagina.Metrica;

/**
 * An embedded TrueType font with each character's code and width looked up once: a report of a
 * million lines measures and writes its text from two arrays instead of PDFBox's per-call encoding.
 *
 * <p>Codes are the font's own glyph ids in two bytes (Identity-H), or, for a file, printable ASCII
 * in one byte as itself and any other character in two bytes, 0x8000 plus its glyph id (a CMap of
 * our own, written by {@link #gravarCodificacao}): report text is nearly all ASCII, and half the
 * bytes is half the compressing.
 *
 * <p>A character the font lacks comes from the first of the fallback fonts ({@link ReservasPdf})
 * that has it; its code then names that font too, and the page switches font for it. A character
 * no font has prints as the replacement mark U+FFFD; a surrogate pair is one character.
 */
final class FontePdf implements Metrica {
    /** The resource name the page content uses ("F1"). */
    final String nome;
    final PDType0Font pd;
    // By character: its code, two-byte ones marked with DOIS_BYTES; 0 = not looked up yet.
    private final int[] codigos = new int[65536];
    private final float[] larguras = new float[65536]; // advance in thousandths of the font size

    static final int DOIS_BYTES = 0x10000;
    /** Bits of a code from here up: the fallback font that shows it (1 the first); 0 this font. */
    static final int DESLOCAMENTO_RESERVA = 20;
    /** The code of the second half of a surrogate pair: nothing, the first half shows the character. */
    static final int PULAR = -1;
    private static final int LONGOS = 0x8000; // the first two-byte code of the ASCII coding
    private static final int SUBSTITUTO = 0xFFFD;

    private final boolean ascii;
    private final int[] curtos = new int[0x80]; // ASCII coding: glyph of each one-byte code written (0: none)
    private final Map<Integer, Integer> longos = new TreeMap<>(); // ASCII coding: two-byte code -> code point
    private final ReservasPdf reservas; // null: none (a fallback font itself)
    // Characters beyond 16 bits (emoji and the like), rare enough for a map.
    private final Map<Integer, Integer> codigosFora = new HashMap<>();
    private final Map<Integer, Float> largurasFora = new HashMap<>();
    private float ultimaLargura; // of the character resolved last

    /** @param ascii one-byte codes for printable ASCII (a file), else Identity-H (the preview) */
    FontePdf(PDDocument doc, Path arquivo, String nome, boolean ascii, ReservasPdf reservas) throws IOException {
        this.ascii = ascii;
        this.reservas = reservas;
        if (!Files.isReadable(arquivo))
            throw new IOException("fonte " + arquivo + " não encontrada (pacote fonts-dejavu-core)");
        this.pd = PDType0Font.load(doc, arquivo.toFile());
        this.nome = nome;
        // The report's own fonts need the basic characters; a fallback font is asked only for what it has.
        if (reservas != null && glifoNaFonte('?') <= 0)
            throw new IOException("a fonte " + arquivo + " não tem os caracteres básicos");
    }

    /** The code that shows {@code c}: one byte, or two when {@link #DOIS_BYTES} is set. */
    int codigo(char c) {
        final int g = codigos[c];
        return g != 0 ? g : conhecer(c);
    }

    /** Width in thousandths of the font size. */
    @Override
    public float largura(char c) {
        if (codigos[c] == 0) conhecer(c);
        return larguras[c];
    }

    /** The code of the character at {@code s[i]}, or {@link #PULAR} at the second half of a pair. */
    int codigo(CharSequence s, int i) {
        final char c = s.charAt(i);
        if (!Character.isSurrogate(c)) return codigo(c); // nearly every character: no pair to look at
        final int cp = par(s, i);
        if (cp < 0) return cp == PULAR ? PULAR : codigo(s.charAt(i));
        if (!codigosFora.containsKey(cp)) conhecerFora(cp);
        return codigosFora.get(cp);
    }

    /** The width of the character at {@code s[i]}: a surrogate pair's at its first half, 0 at its second. */
    float largura(CharSequence s, int i) {
        final char c = s.charAt(i);
        if (!Character.isSurrogate(c)) return largura(c);
        final int cp = par(s, i);
        if (cp < 0) return cp == PULAR ? 0 : largura(s.charAt(i));
        if (!largurasFora.containsKey(cp)) conhecerFora(cp);
        return largurasFora.get(cp);
    }

    /** The fallback font of a code's {@link #DESLOCAMENTO_RESERVA} bits (1 the first). */
    FontePdf reserva(int numero) {
        return reservas.fonte(numero - 1);
    }

    /** The code point of a surrogate pair starting at i; PULAR at its second half; else -2. */
    private static int par(CharSequence s, int i) {
        final char c = s.charAt(i);
        if (Character.isHighSurrogate(c) && i + 1 < s.length() && Character.isLowSurrogate(s.charAt(i + 1)))
            return Character.toCodePoint(c, s.charAt(i + 1));
        if (Character.isLowSurrogate(c) && i > 0 && Character.isHighSurrogate(s.charAt(i - 1))) return PULAR;
        return -2;
    }

    @Override
    public float largura(CharSequence s) {
        return largura(s, Float.MAX_VALUE);
    }

    /** The width of {@code s}, or, once past {@code maximo}, some width beyond it (no need to go on). */
    @Override
    public float largura(CharSequence s, float maximo) {
        float w = 0;
        for (int i = 0, n = s.length(); i < n && w <= maximo; i++) w += largura(s, i);
        return w;
    }

    /** The end of the longest piece of {@code s} from {@code inicio} that fits in {@code maximo}. */
    @Override
    public int caber(CharSequence s, int inicio, float maximo) {
        float w = 0;
        for (int i = inicio, n = s.length(); i < n; i++) {
            w += largura(s, i);
            if (w > maximo) return i;
        }
        return s.length();
    }

    @Override
    public float largura(CharSequence s, int inicio, int fim) {
        float w = 0;
        for (int i = inicio; i < fim; i++) w += largura(s, i);
        return w;
    }

    // Control characters print as a blank; a character no font has (or half a surrogate pair)
    // as the replacement mark: an unprintable character must never stop the report.
    private int conhecer(char c) {
        final int codigo = resolver(Character.isISOControl(c) ? ' ' : Character.isSurrogate(c) ? SUBSTITUTO : c);
        larguras[c] = ultimaLargura;
        codigos[c] = codigo;
        return codigo;
    }

    private void conhecerFora(int cp) {
        codigosFora.put(cp, resolver(cp));
        largurasFora.put(cp, ultimaLargura);
    }

    /** The code of {@code cp} here, else in the first fallback font that has it, else the replacement mark's. */
    private int resolver(int cp) {
        if (glifoNaFonte(cp) > 0) return proprio(cp);
        if (reservas != null) {
            for (int k = 0; k < reservas.quantas(); k++) {
                final FontePdf r = reservas.fonte(k);
                if (r == null || r.glifoNaFonte(cp) <= 0) continue;
                final int codigo = r.proprio(cp);
                ultimaLargura = r.ultimaLargura;
                reservas.usar(k);
                return codigo | (k + 1) << DESLOCAMENTO_RESERVA;
            }
        }
        return cp != SUBSTITUTO ? resolver(SUBSTITUTO) : proprio('?');
    }

    /** The code of a character this font has, its width left in {@link #ultimaLargura}. */
    private int proprio(int cp) {
        final int gid = glifoNaFonte(cp);
        pd.addToSubset(cp);
        try {
            // Rounded as the embedded font's width table has them, so that positions computed
            // here are where a reader draws the glyphs.
            ultimaLargura = Math.round(pd.getWidthFromFont(gid));
        } catch (IOException e) {
            ultimaLargura = pd.getAverageFontWidth();
        }
        if (!ascii) return DOIS_BYTES | gid;
        if (cp >= ' ' && cp < 0x7f) {
            curtos[cp] = gid;
            return cp;
        }
        longos.putIfAbsent(LONGOS | gid, cp);
        return DOIS_BYTES | LONGOS | gid;
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
        for (Map.Entry<Integer, Integer> e : longos.entrySet()) {
            final StringBuilder utf16 = new StringBuilder();
            for (char c : Character.toChars(e.getValue())) utf16.append(String.format("%04X", (int) c));
            unicode.add(String.format("<%04X> <%s>", e.getKey(), utf16));
        }
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

    private int glifoNaFonte(int cp) {
        try {
            final byte[] b = pd.encode(new String(Character.toChars(cp)));
            return b.length == 2 ? (b[0] & 0xff) << 8 | (b[1] & 0xff) : -1;
        } catch (IOException | IllegalArgumentException e) {
            return -1; // no glyph for it
        }
    }
}
