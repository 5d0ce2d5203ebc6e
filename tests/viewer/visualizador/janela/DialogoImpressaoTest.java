package visualizador.janela;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertSame;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assumptions.assumeFalse;

import java.awt.Component;
import java.awt.Container;
import java.awt.GraphicsEnvironment;
import java.awt.Window;
import java.lang.reflect.Proxy;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.TimeUnit;
import javax.print.PrintService;
import javax.swing.AbstractButton;
import javax.swing.JDialog;
import javax.swing.JOptionPane;
import javax.swing.JTextField;
import javax.swing.SwingUtilities;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.formatos.IntervaloPaginas;

/** "Imprimir…" on a report of 10 pages: a bad range is explained and asked again, a good one taken. */
class DialogoImpressaoTest {
    private static final PrintService IMPRESSORA = (PrintService) Proxy.newProxyInstance(
            PrintService.class.getClassLoader(), new Class<?>[] {PrintService.class}, (p, m, a) -> switch (m.getName()) {
                case "getName", "toString" -> "Impressora de teste";
                case "equals" -> p == a[0];
                case "hashCode" -> 7;
                default -> null;
            });

    @BeforeAll
    static void tela() {
        assumeFalse(GraphicsEnvironment.isHeadless(), "needs a display (run under Xvfb)");
    }

    private static CompletableFuture<DialogoImpressao.Escolha> abrir() {
        final CompletableFuture<DialogoImpressao.Escolha> r = new CompletableFuture<>();
        SwingUtilities.invokeLater(() -> r.complete(
                DialogoImpressao.escolher(null, new PrintService[] {IMPRESSORA}, IMPRESSORA, 10)));
        return r;
    }

    /** The showing dialog titled "Imprimir" whose option pane is of {@code tipo}. */
    private static JDialog dialogo(int tipo) throws Exception {
        for (int i = 0; i < 200; i++) {
            for (Window w : Window.getWindows())
                if (w instanceof JDialog d && d.isShowing() && "Imprimir".equals(d.getTitle())
                        && achar(d, JOptionPane.class) instanceof JOptionPane o && o.getMessageType() == tipo)
                    return d;
            Thread.sleep(50);
        }
        throw new AssertionError("no dialog of type " + tipo);
    }

    private static Component achar(Container c, Class<?> tipo) {
        for (Component f : c.getComponents()) {
            if (tipo.isInstance(f)) return f;
            final Component achado = f instanceof Container sub ? achar(sub, tipo) : null;
            if (achado != null) return achado;
        }
        return null;
    }

    private static Component nomeado(Container c, String nome) {
        for (Component f : c.getComponents()) {
            if (nome.equals(f.getName())) return f;
            final Component achado = f instanceof Container sub ? nomeado(sub, nome) : null;
            if (achado != null) return achado;
        }
        return null;
    }

    private static void clicar(Container c, String texto) throws Exception {
        SwingUtilities.invokeAndWait(() -> {
            final AbstractButton b = botao(c, texto);
            if (b == null) throw new AssertionError("no button " + texto + " in " + arvore(c));
            b.doClick();
        });
    }

    private static AbstractButton botao(Container c, String texto) {
        for (Component f : c.getComponents()) {
            if (f instanceof AbstractButton b && texto.equals(b.getText())) return b;
            final AbstractButton achado = f instanceof Container sub ? botao(sub, texto) : null;
            if (achado != null) return achado;
        }
        return null;
    }

    private static String arvore(Component c) {
        final StringBuilder s = new StringBuilder(c.getClass().getSimpleName());
        if (c instanceof AbstractButton b) s.append("[").append(b.getText()).append("]");
        if (c instanceof Container k && k.getComponentCount() > 0) {
            s.append("(");
            for (Component f : k.getComponents()) s.append(arvore(f)).append(" ");
            s.append(")");
        }
        return s.toString();
    }

    private static void digitar(JDialog d, String paginas) throws Exception {
        SwingUtilities.invokeAndWait(() -> ((JTextField) nomeado(d, "paginas")).setText(paginas));
    }

    @ParameterizedTest(name = "\"{0}\"")
    @CsvSource(delimiter = '|', value = {"7-3 | escreva 3-7", "0 | a primeira página é a 1", "5-11 | tem 10 páginas",
        "três | como 3-7"})
    void intervaloRuimExplicadoEPedidoDeNovo(String digitado, String explicacao) throws Exception {
        final var escolha = abrir();
        digitar(dialogo(JOptionPane.PLAIN_MESSAGE), digitado);
        clicar(dialogo(JOptionPane.PLAIN_MESSAGE), "Imprimir");
        final JDialog erro = dialogo(JOptionPane.ERROR_MESSAGE);
        final String mensagem = String.valueOf(((JOptionPane) achar(erro, JOptionPane.class)).getMessage());
        assertTrue(mensagem.contains(explicacao), mensagem);
        SwingUtilities.invokeAndWait(erro::dispose);
        final JDialog deNovo = dialogo(JOptionPane.PLAIN_MESSAGE);
        assertEquals(digitado, ((JTextField) nomeado(deNovo, "paginas")).getText(), "what was typed is kept");
        digitar(deNovo, "3-7");
        clicar(deNovo, "Imprimir");
        final DialogoImpressao.Escolha e = escolha.get(10, TimeUnit.SECONDS);
        assertSame(IMPRESSORA, e.impressora());
        assertEquals(1, e.copias());
        assertEquals(new IntervaloPaginas(3, 7), e.paginas());
    }

    @Test
    void emBrancoTodasECancelarNada() throws Exception {
        var escolha = abrir();
        clicar(dialogo(JOptionPane.PLAIN_MESSAGE), "Imprimir");
        assertNull(escolha.get(10, TimeUnit.SECONDS).paginas());
        escolha = abrir();
        digitar(dialogo(JOptionPane.PLAIN_MESSAGE), "3-7");
        clicar(dialogo(JOptionPane.PLAIN_MESSAGE), "Cancelar");
        assertNull(escolha.get(10, TimeUnit.SECONDS));
    }
}
