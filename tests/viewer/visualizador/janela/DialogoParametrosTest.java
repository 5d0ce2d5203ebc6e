package visualizador.janela;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assumptions.assumeFalse;

import java.awt.Component;
import java.awt.Container;
import java.awt.GraphicsEnvironment;
import java.awt.Window;
import java.awt.event.WindowEvent;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.TimeUnit;
import java.util.function.Consumer;
import javax.swing.AbstractButton;
import javax.swing.JComboBox;
import javax.swing.JDialog;
import javax.swing.JLabel;
import javax.swing.SwingUtilities;
import javax.swing.text.JTextComponent;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;
import visualizador.BancoTeste;
import visualizador.Formato;
import visualizador.dados.OpcoesRelatorio;
import visualizador.design.Design;
import visualizador.design.ParametroDesign;

class DialogoParametrosTest {
    private static Design design;

    @BeforeAll
    static void preparar() throws Exception {
        assumeFalse(GraphicsEnvironment.isHeadless(), "needs a display (run under Xvfb)");
        design = BancoTeste.design();
    }

    /** Opens the dialog from a worker thread, as the viewer does, acts on it on the EDT, returns its answer. */
    private static DialogoParametros.Escolha usar(Consumer<JDialog> acao) throws Exception {
        return usar(Formato.XLS, acao);
    }

    /** The dialog for output in {@code formato}: a PDF's asks for the pages too. */
    private static DialogoParametros.Escolha usar(Formato formato, Consumer<JDialog> acao) throws Exception {
        final var resposta = CompletableFuture.supplyAsync(() -> DialogoParametros.confirmar(design,
                List.of(Map.entry("P_MARCA", "3"), Map.entry("P_GRUPO", "2")), new OpcoesRelatorio(false, true), formato));
        for (int i = 0; i < 200; i++) {
            for (Window w : Window.getWindows())
                if (w instanceof JDialog d && d.isShowing() && "dialogoParametros".equals(d.getName())) {
                    SwingUtilities.invokeAndWait(() -> acao.accept(d));
                    return resposta.get(10, TimeUnit.SECONDS);
                }
            Thread.sleep(50);
        }
        throw new AssertionError("dialog not shown");
    }

    private static Component achar(Container c, String nome) {
        for (Component f : c.getComponents()) {
            final Component achado = nome.equals(f.getName()) ? f : f instanceof Container sub ? achar(sub, nome) : null;
            if (achado != null) return achado;
        }
        return null;
    }

    private static JTextComponent texto(JDialog j, String nome) {
        return (JTextComponent) achar(j, nome);
    }

    @Test
    void okDevolveOsValoresEditadosNaOrdemDoDesign() throws Exception {
        final var escolha = usar(j -> {
            assertEquals(design.titulo(), j.getTitle());
            assertEquals("3", texto(j, "P_MARCA").getText());
            assertEquals("Produto", ((JComboBox<?>) achar(j, "P_GRUPO")).getSelectedItem().toString());
            texto(j, "P_EMP").setText(" 1, 2 ");
            ((JComboBox<?>) achar(j, "P_ORDEM")).setSelectedIndex(2);
            assertTrue(((AbstractButton) achar(j, "semEstoqueZerado")).isSelected(), "the options come in as given");
            ((AbstractButton) achar(j, "somenteTotais")).doClick();
            ((AbstractButton) achar(j, "ok")).doClick();
        });
        final var resposta = escolha.parametros();
        assertEquals(new OpcoesRelatorio(true, true), escolha.opcoes());
        assertEquals(design.parametros().stream().map(ParametroDesign::nome).toList(),
                resposta.stream().map(Map.Entry::getKey).toList());
        // P_EMP, P_DEP, P_MARCA, P_GRUPO, P_ORDEM
        assertEquals(List.of("1,2", "0", "3", "2", "2"),
                List.of(0, 1, 8, 10, 11).stream().map(i -> resposta.get(i).getValue()).toList());
    }

    /** For a PDF the pages typed come back as a range (empty: all); a bad range keeps the dialog open. */
    @org.junit.jupiter.params.ParameterizedTest(name = "\"{0}\"")
    @org.junit.jupiter.params.provider.CsvSource(delimiter = '|', value = {"'' | 0 | 0", "3-7 | 3 | 7", "' 5 ' | 5 | 5",
        "7-3 | -1 | -1", "0 | -1 | -1", "x | -1 | -1"})
    void paginasDoPdf(String digitado, int primeira, int ultima) throws Exception {
        final String[] erro = new String[1];
        final var escolha = usar(Formato.PDF, j -> {
            texto(j, "paginas").setText(digitado);
            ((AbstractButton) achar(j, "ok")).doClick();
            erro[0] = texto(j, "erro").getText();
            if (j.isDisplayable()) j.dispose();
        });
        if (primeira < 0) {
            assertNull(escolha, "a bad range is not taken");
            assertTrue(erro[0].contains("Páginas"), erro[0]);
        } else {
            assertTrue(erro[0].isBlank(), erro[0]);
            assertEquals(primeira == 0 ? null : new visualizador.formatos.IntervaloPaginas(primeira, ultima), escolha.paginas());
        }
    }

    /** Only where there are pages may each group start one; chosen, it comes back with the options. */
    @org.junit.jupiter.params.ParameterizedTest
    @org.junit.jupiter.params.provider.CsvSource({"PDF, true", "VIS, true", "HTML, true", "XLS, false", "CSV, false"})
    void paginaPorGrupoOndeHaPaginas(Formato formato, boolean paginado) throws Exception {
        final var escolha = usar(formato, j -> {
            final AbstractButton b = (AbstractButton) achar(j, "paginaPorGrupo");
            assertEquals(paginado, b != null);
            if (b != null) b.doClick();
            ((AbstractButton) achar(j, "ok")).doClick();
        });
        assertEquals(new OpcoesRelatorio(false, true, paginado), escolha.opcoes());
    }

    @Test
    void semPaginasForaDoPdf() throws Exception {
        assertNull(usar(j -> {
            assertNull(achar(j, "paginas"), "only a PDF can be cut to some pages");
            j.dispose();
        }));
    }

    // The names users know from the launcher's window, never the internal ones.
    @Test
    void rotulosEmPortugues() throws Exception {
        final List<String> rotulos = new ArrayList<>();
        assertNull(usar(j -> {
            for (ParametroDesign p : design.parametros()) {
                final JLabel rotulo = rotulo(j, achar(j, p.nome()));
                rotulos.add(rotulo == null ? null : rotulo.getText());
            }
            j.dispose();
        }));
        assertEquals(List.of("Empresa", "Depósito", "Produto", "Fornecedor", "Seção", "Categoria", "Subcategoria",
                "Família", "Marca", "Aplicação", "Apresentação", "Ordenar por"), rotulos);
    }

    private static JLabel rotulo(Container c, Component campo) {
        for (Component f : c.getComponents()) {
            if (f instanceof JLabel l && l.getLabelFor() == campo) return l;
            final JLabel achado = f instanceof Container sub ? rotulo(sub, campo) : null;
            if (achado != null) return achado;
        }
        return null;
    }

    @Test
    void cancelarOuFecharNaoDevolveNada() throws Exception {
        assertNull(usar(j -> ((AbstractButton) achar(j, "cancelar")).doClick()));
        assertNull(usar(j -> {
            texto(j, "P_PRO").setText("1;DROP");
            ((AbstractButton) achar(j, "ok")).doClick();
            assertFalse(texto(j, "erro").getText().isBlank(), "a bad value keeps the dialog open with the reason");
            j.dispatchEvent(new WindowEvent(j, WindowEvent.WINDOW_CLOSING));
        }));
    }
}
