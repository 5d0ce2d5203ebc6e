package visualizador.formatos;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.IOException;
import java.io.UncheckedIOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.regex.Matcher;
import java.util.regex.Pattern;
import java.util.stream.Stream;
import org.apache.fontbox.ttf.TTFParser;
import org.apache.fontbox.ttf.TrueTypeFont;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.pdmodel.font.PDType0Font;
import org.apache.pdfbox.text.PDFTextStripper;
import org.apache.pdfbox.text.TextPosition;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;
import visualizador.dados.Progresso;

/** The PDF file as written page by page: its cross-reference table and its text coding. */
class ArquivoPdfTest {
    @TempDir
    Path dir;

    /** Every object the table lists starts exactly where it says, and startxref finds the table. */
    @Test
    void tabelaDeReferenciasExata() throws Exception {
        final Path pdf = dir.resolve("x.pdf");
        PdfSintetico.gerar(pdf, 300, 7, Progresso.NENHUM);
        final String s = new String(Files.readAllBytes(pdf), StandardCharsets.ISO_8859_1);
        final Matcher fim = Pattern.compile("startxref\n(\\d+)\n%%EOF\n$").matcher(s);
        assertTrue(fim.find(), "no startxref at the end");
        final int xref = Integer.parseInt(fim.group(1));
        final Matcher cabeca = Pattern.compile("xref\n0 (\\d+)\n").matcher(s).region(xref, s.length());
        assertTrue(cabeca.lookingAt(), "startxref does not point at the table");
        final int objetos = Integer.parseInt(cabeca.group(1));
        assertTrue(s.contains("/Size " + objetos + " "));
        for (int i = 1; i < objetos; i++) {
            final int entrada = cabeca.end() + 20 * i;
            assertEquals('n', s.charAt(entrada + 17), "object " + i + " not in use");
            final int posicao = Integer.parseInt(s.substring(entrada, entrada + 10));
            assertTrue(s.startsWith(i + " 0 obj\n", posicao), "object " + i + " is not at " + posicao);
        }
        final String texto = DestinoPdfTest.texto(pdf, 0);
        final long paginas = texto.lines().filter(l -> l.matches("Página \\d+ de \\d+")).count();
        assertTrue(paginas > 1 && texto.contains("Página " + paginas + " de " + paginas + "\n"), texto);
    }

    static Stream<Arguments> textos() {
        return Stream.of(Arguments.of("SABÃO (EM PÓ) \\ 50% ~{x}", "SABÃO (EM PÓ) \\ 50% ~{x}"),
                Arguments.of("AÇÚCAR ÁÉÍÓÚ ÇÑ ÿ €5 “ok”", "AÇÚCAR ÁÉÍÓÚ ÇÑ ÿ €5 “ok”"),
                Arguments.of("TAB\tX\rY", "TAB X Y"), Arguments.of("CHÁ 茶 VERDE", "CHÁ 茶 VERDE"),
                // Past 16 bits, some beyond DejaVu Sans: 🍕 and ⏚ from Symbola (or Noto), 茶 from Droid.
                Arguments.of("EMOJI 😀 NO NOME 🍕 ⏚ 𝔸", "EMOJI 😀 NO NOME 🍕 ⏚ 𝔸"),
                // What no font has (an unassigned code point, half a surrogate pair): one replacement mark.
                Arguments.of("A\u0378B\uD800C", "A\uFFFDB\uFFFDC"));
    }

    /**
     * What a description holds comes back from the file as PDFBox and poppler extract it: ASCII as
     * one-byte codes (string delimiters included), the rest by glyph, from a fallback font where
     * DejaVu Sans has none; a control character as a blank, what no font has as "\uFFFD".
     */
    @ParameterizedTest
    @MethodSource("textos")
    void textoVoltaComoFoiEscrito(String descricao, String esperado) throws Exception {
        final Path pdf = dir.resolve("t.pdf");
        try (DestinoPdf d = new DestinoPdf(pdf, Progresso.NENHUM)) {
            PdfSintetico.escrever(d, 3, 3, (i, v) -> v[PdfSintetico.coluna("prodes")] = descricao);
        }
        final String pdfbox = DestinoPdfTest.texto(pdf, 0);
        assertEquals(3, pdfbox.lines().filter(l -> l.contains(esperado)).count(), pdfbox);
        final Process p = new ProcessBuilder("pdftotext", "-layout", pdf.toString(), "-").start();
        final String poppler = new String(p.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
        assertEquals(0, p.waitFor());
        assertEquals(3, poppler.lines().filter(l -> l.contains(esperado)).count(), poppler);
        glifosDosCaracteres(pdf);
    }

    /** Each code drawn goes to the glyph its character has in the font (not just back to the character). */
    private static void glifosDosCaracteres(Path pdf) throws Exception {
        final java.util.Map<String, TrueTypeFont> fontes = new java.util.HashMap<>();
        for (Path p : Stream.concat(Stream.of(DestinoPdf.FONTE, DestinoPdf.FONTE_NEGRITO),
                ArquivosDeFonte.reservas().stream()).toList()) {
            final TrueTypeFont t = new TTFParser().parse(p.toFile());
            fontes.put(t.getName(), t);
        }
        try (PDDocument d = PDDocument.load(pdf.toFile())) {
            final int[] vistos = {0};
            new PDFTextStripper() {
                @Override
                protected void processTextPosition(TextPosition t) {
                    try {
                        final PDType0Font f = (PDType0Font) t.getFont();
                        // Embedded as a subset: "ABCDEF+DejaVuSans".
                        assertTrue(f.getName().matches("[A-Z]{6}\\+.+"), f.getName());
                        final TrueTypeFont ttf = fontes.get(f.getName().substring(7));
                        final int esperado = ttf.getUnicodeCmapLookup().getGlyphId(t.getUnicode().codePointAt(0));
                        assertEquals(esperado, f.codeToCID(t.getCharacterCodes()[0]), t.getUnicode());
                        vistos[0]++;
                    } catch (IOException e) {
                        throw new UncheckedIOException(e);
                    }
                }
            }.getText(d);
            assertTrue(vistos[0] > 100);
        } finally {
            for (TrueTypeFont t : fontes.values()) t.close();
        }
    }
}
