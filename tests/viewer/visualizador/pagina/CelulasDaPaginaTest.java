package visualizador.pagina;

import static org.junit.jupiter.api.Assertions.assertEquals;

import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.design.Alinhamento;

/** Texts set into cells, measured in a font whose every character is half an em: 3.5 pt at 7 pt. */
class CelulasDaPaginaTest {
    /** What was drawn: the text of each piece, and its size. */
    private static final class Registro implements PinturaSoDeTexto {
        final List<String> pedacos = new ArrayList<>();
        final List<Float> tamanhos = new ArrayList<>();

        @Override
        public void texto(FonteMeioEme f, float pontos, float x, float y, CharSequence s, int inicio, int fim, boolean reticencias) {
            pedacos.add(s.subSequence(inicio, fim) + (reticencias ? "…" : ""));
            tamanhos.add(pontos);
        }
    }

    /** A column where exactly {@code caracteres} body characters fit between its blanks. */
    private static float largura(int caracteres) {
        return 2 * Diagramacao.FOLGA + caracteres * 3.5f + 0.01f;
    }

    @ParameterizedTest(name = "\"{0}\" em {1}, cortar {2}")
    @CsvSource(delimiter = '|', value = {
        "abc def ghi | 7 | false | abc def/ghi",
        "abc def ghi | 11 | false | abc def ghi",
        "abcdefghij | 4 | false | abcd/efgh/ij", // one word wider than the cell: broken anywhere
        "abc   def | 4 | false | abc/def", // the blanks at the break are dropped
        "abc def ghi | 5 | true | abc …", // cut: one line ending with the mark
        "ab cd ef gh ij kl mn op qr st uv wx yz | 3 | false | ab/cd/ef/gh/ij/kl/mn/op/qr/st/uv/wx…"}) // 12 lines at most
    void quebraNasBrancas(String texto, int caracteres, boolean cortar, String esperado) {
        final Registro r = new Registro();
        final CelulasDaPagina<FonteMeioEme> c = new CelulasDaPagina<>(r, 1);
        final float altura = c.quebrar(0, new FonteMeioEme(), texto, largura(caracteres), cortar);
        c.pedacos(0, new FonteMeioEme(), texto, 0, largura(caracteres), Alinhamento.ESQUERDA, 100);
        assertEquals(Arrays.asList(esperado.split("/")), r.pedacos);
        assertEquals(Diagramacao.LINHA + (r.pedacos.size() - 1) * Diagramacao.ENTRELINHA, altura, 0.001);
    }

    /** A figure is never cut while it can be set smaller (down to 3 pt); text is cut with "…". */
    @ParameterizedTest(name = "\"{0}\" em {1}, encolher {2}")
    @CsvSource(delimiter = '|', value = {
        "1.234,56 | 8 | true | 1.234,56 | 7",
        "1.234.567,89 | 8 | true | 1.234.567,89 | 4.6667",
        "1.234.567.890.123,45 | 5 | true | 1.23… | 7", // below 3 pt: cut after all, and marked so
        "MARCA LONGA | 8 | false | MARCA L… | 7"})
    void numeroEncolheTextoCorta(String texto, int caracteres, boolean encolher, String esperado, float tamanho) {
        final Registro r = new Registro();
        new CelulasDaPagina<>(r, 1).celula(new FonteMeioEme(), Diagramacao.CORPO, texto, 0, largura(caracteres),
                Alinhamento.DIREITA, encolher, 100);
        assertEquals(List.of(esperado), r.pedacos);
        assertEquals(tamanho, r.tamanhos.get(0), 0.01);
    }
}
