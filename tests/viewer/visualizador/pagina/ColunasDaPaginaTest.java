package visualizador.pagina;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;

import java.math.BigDecimal;
import java.time.LocalDateTime;
import java.util.ArrayList;
import java.util.List;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.ValueSource;
import visualizador.design.Alinhamento;
import visualizador.design.Coluna;
import visualizador.design.TipoColuna;

/** The printed columns, sized in a font whose every character is half an em (3.5 pt at 7 pt). */
class ColunasDaPaginaTest {
    private static final Metrica FONTE = new FonteMeioEme();
    private static final Coluna DEPOSITO = new Coluna("Depósito", "dep", null, "", TipoColuna.TEXTO, 80,
            Alinhamento.ESQUERDA, 0, false);
    private static final Coluna EMPRESA = new Coluna("Empresa", "emp", "empdes", "", TipoColuna.TEXTO, 120,
            Alinhamento.ESQUERDA, 0, false, false, false, "SELECT 1", true);
    private static final Coluna DESCRICAO = new Coluna("Descrição", "des", null, "", TipoColuna.TEXTO, 200,
            Alinhamento.ESQUERDA, 0, false, false, true);
    private static final Coluna QUANTIDADE = new Coluna("Quantidade", "qtd", null, "", TipoColuna.NUMERO, 60,
            Alinhamento.DIREITA, 2, true);

    private static Cabecalho cabecalho(boolean resumo, List<MedidaColuna> medidas) {
        return new Cabecalho("R", List.of(), "Depósito", "Código", LocalDateTime.now(),
                List.of(DEPOSITO, EMPRESA, DESCRICAO, QUANTIDADE), resumo, List.of("dep"), List.of(), medidas, false);
    }

    private static MedidaColuna empresas(int n) {
        final List<String> textos = new ArrayList<>();
        final List<String> codigos = new ArrayList<>();
        for (int i = 1; i <= n; i++) {
            textos.add(i + " - EMPRESA " + i);
            codigos.add(String.valueOf(i));
        }
        return new MedidaColuna(textos, codigos, null, null, false);
    }

    /**
     * The grouping's column is left out; a company is printed by its code when 2 to 12 can show,
     * with the legend in the header; the description takes what the others leave of the page.
     */
    @ParameterizedTest(name = "{0} empresas")
    @ValueSource(ints = {1, 2, 12, 13})
    void larguraPeloQueCadaColunaMostra(int n) {
        final MedidaColuna quantidade = new MedidaColuna(List.of(), List.of(), new BigDecimal("1234.5"),
                new BigDecimal("99999.99"), true);
        final ColunasDaPagina c = ColunasDaPagina.dasLinhas(
                cabecalho(false, List.of(MedidaColuna.DESCONHECIDA, empresas(n), MedidaColuna.DESCONHECIDA, quantidade)),
                FONTE, FONTE);
        assertArrayEquals(new int[] {1, 2, 3}, c.origem);
        final boolean legenda = n >= 2 && n <= 12;
        // Empresa: its widest text (or code, or its title), Quantidade its largest total "-99.999,99".
        final int empresa = legenda ? "Empresa".length() : (n + " - EMPRESA " + n).length();
        assertEquals(empresa * 3.5f + 2 * Diagramacao.FOLGA, c.largura[0], 0.02f);
        assertEquals("Quantidade".length() * 3.5f + 2 * Diagramacao.FOLGA, c.largura[2], 0.02f);
        assertEquals(Diagramacao.MARGEM, c.x[0], 0.001f);
        assertEquals(Diagramacao.MARGEM + Diagramacao.UTIL, c.fim(), 0.01f);
        for (int i = 1; i < 3; i++) assertEquals(c.x[i - 1] + c.largura[i - 1], c.x[i], 0.001f);
        assertEquals(2, c.primeiraTotal);
        if (legenda) {
            assertEquals("2", c.naLinha(0, "2 - EMPRESA 2"));
            assertEquals(List.of("Empresa" + Diagramacao.LEGENDA + String.join(" · ", empresas(n).textos())), c.legendas);
        } else {
            assertEquals("1 - EMPRESA 1", c.naLinha(0, "1 - EMPRESA 1"));
            assertEquals(List.of(), c.legendas);
            assertNull(c.codigos.get(0));
        }
    }

    /** A summary: the group's name takes the rest of the page, then the count and each total. */
    @Test
    void resumo() {
        final ColunasDaPagina c = ColunasDaPagina.doResumo(cabecalho(true, List.of()), FONTE, FONTE);
        assertArrayEquals(new String[] {"Depósito", "Linhas", "Quantidade"}, c.titulos);
        assertArrayEquals(new int[] {-1, -1, 3}, c.origem);
        assertEquals(1, c.primeiraTotal);
        assertEquals(Diagramacao.MARGEM + Diagramacao.UTIL, c.fim(), 0.01f);
        assertEquals(Diagramacao.UTIL - c.largura[1] - c.largura[2], c.largura[0], 0.01f);
    }
}
