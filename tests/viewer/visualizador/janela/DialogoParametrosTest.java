package visualizador.janela;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assumptions.assumeFalse;

import java.awt.Component;
import java.awt.Container;
import java.awt.GraphicsEnvironment;
import java.awt.Window;
import java.util.List;
import java.util.Map;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.TimeUnit;
import java.util.function.Consumer;
import java.util.stream.Collectors;
import javax.swing.AbstractButton;
import javax.swing.JComboBox;
import javax.swing.JDialog;
import javax.swing.JTextField;
import javax.swing.SwingUtilities;
import javax.swing.text.JTextComponent;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;
import visualizador.BancoTeste;
import visualizador.design.Design;
import visualizador.design.ParametroDesign;

class DialogoParametrosTest {
    private static Design design;

    @BeforeAll
    static void preparar() throws Exception {
        assumeFalse(GraphicsEnvironment.isHeadless(), "needs a display (run under xvfb-run)");
        design = BancoTeste.design();
    }

    /** Opens the dialog from a worker thread, as the viewer does, acts on it on the EDT, returns its answer. */
    private static List<Map.Entry<String, String>> usar(Consumer<JDialog> acao) throws Exception {
        final var resposta = CompletableFuture.supplyAsync(
                () -> DialogoParametros.confirmar(design, List.of(Map.entry("P_MARCA", "3"), Map.entry("P_GRUPO", "2"))));
        final JDialog janela = aberta();
        SwingUtilities.invokeAndWait(() -> acao.accept(janela));
        return resposta.get(10, TimeUnit.SECONDS);
    }

    private static JDialog aberta() throws Exception {
        for (int i = 0; i < 100; i++) {
            for (Window w : Window.getWindows())
                if (w instanceof JDialog d && d.isShowing() && "dialogoParametros".equals(d.getName())) return d;
            Thread.sleep(50);
        }
        throw new AssertionError("dialog not shown");
    }

    @SuppressWarnings("unchecked")
    static <T extends Component> T achar(Container c, String nome) {
        for (Component f : c.getComponents()) {
            if (nome.equals(f.getName())) return (T) f;
            if (f instanceof Container sub) {
                final T t = achar(sub, nome);
                if (t != null) return t;
            }
        }
        return null;
    }

    @Test
    void okDevolveOsValoresEditadosNaOrdemDoDesign() throws Exception {
        final var resposta = usar(j -> {
            assertEquals(design.titulo(), j.getTitle());
            assertEquals("3", DialogoParametrosTest.<JTextField>achar(j, "P_MARCA").getText());
            assertEquals("Produto", DialogoParametrosTest.<JComboBox<?>>achar(j, "P_GRUPO").getSelectedItem().toString());
            DialogoParametrosTest.<JTextField>achar(j, "P_EMP").setText(" 1, 2 ");
            DialogoParametrosTest.<JComboBox<?>>achar(j, "P_ORDEM").setSelectedIndex(2);
            DialogoParametrosTest.<AbstractButton>achar(j, "ok").doClick();
        });
        assertEquals(design.parametros().stream().map(ParametroDesign::nome).toList(),
                resposta.stream().map(Map.Entry::getKey).toList());
        final Map<String, String> valores =
                resposta.stream().collect(Collectors.toMap(Map.Entry::getKey, Map.Entry::getValue));
        assertEquals(List.of("1,2", "3", "2", "2", "0"), List.of(valores.get("P_EMP"), valores.get("P_MARCA"),
                valores.get("P_GRUPO"), valores.get("P_ORDEM"), valores.get("P_DEP")));
    }

    @Test
    void cancelarOuValorInvalidoSeguidoDeCancelar() throws Exception {
        assertNull(usar(j -> DialogoParametrosTest.<AbstractButton>achar(j, "cancelar").doClick()));
        assertNull(usar(j -> {
            DialogoParametrosTest.<JTextField>achar(j, "P_PRO").setText("1;DROP");
            DialogoParametrosTest.<AbstractButton>achar(j, "ok").doClick();
            assertFalse(DialogoParametrosTest.<JTextComponent>achar(j, "erro").getText().isBlank());
            j.dispatchEvent(new java.awt.event.WindowEvent(j, java.awt.event.WindowEvent.WINDOW_CLOSING));
        }));
    }
}
