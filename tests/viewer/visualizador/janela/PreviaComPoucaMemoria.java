package visualizador.janela;

import java.awt.event.InputEvent;
import java.awt.event.KeyEvent;
import java.awt.image.BufferedImage;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.atomic.AtomicReference;
import javax.swing.JComponent;
import javax.swing.SwingUtilities;
import visualizador.formatos.PdfSintetico;

/**
 * Run in a JVM of its own with a small heap: a long made-up report in the preview, then page after
 * page drawn at 150 %. Prints the pages drawn and any message; status 0 when every page showed.
 * Usage: PreviaComPoucaMemoria LINES PAGES_TO_TURN
 */
public final class PreviaComPoucaMemoria {
    public static void main(String[] args) throws Exception {
        final int linhas = Integer.parseInt(args[0]);
        final int virar = Integer.parseInt(args[1]);
        final AtomicReference<JanelaVisualizacao> j = new AtomicReference<>();
        SwingUtilities.invokeAndWait(() -> {
            try {
                j.set(JanelaVisualizacao.criar("Relação", "previa",
                        (d, p) -> PdfSintetico.escrever(d, linhas, 10, (i, v) -> {}), (f, p) -> p));
            } catch (Exception e) {
                throw new IllegalStateException(e);
            }
            j.get().janela().setVisible(true);
        });
        final JanelaVisualizacao janela = j.get();
        final long limite = System.nanoTime() + TimeUnit.SECONDS.toNanos(120);
        final JComponent raiz = janela.janela().getRootPane();
        int desenhadas = 0;
        for (int k : new int[] {KeyEvent.VK_0, KeyEvent.VK_ADD, KeyEvent.VK_ADD}) tecla(raiz, k, InputEvent.CTRL_DOWN_MASK);
        while (desenhadas < virar && janela.ultimoAviso() == null && System.nanoTime() < limite) {
            final int pagina = desenhadas;
            if (naTela(janela, pagina)) {
                desenhadas++;
                tecla(raiz, KeyEvent.VK_PAGE_DOWN, 0);
            } else {
                Thread.sleep(20);
            }
        }
        System.out.println("páginas desenhadas: " + desenhadas + " de " + janela.totalPaginas() + "; aviso: "
                + janela.ultimoAviso());
        SwingUtilities.invokeAndWait(() -> janela.janela().dispose());
        janela.aguardarFechamento();
        System.exit(desenhadas == virar && janela.ultimoAviso() == null ? 0 : 1);
    }

    private static boolean naTela(JanelaVisualizacao janela, int pagina) throws Exception {
        final AtomicReference<Boolean> r = new AtomicReference<>();
        SwingUtilities.invokeAndWait(() -> {
            final BufferedImage img = janela.imagemMostrada();
            r.set(janela.paginaAtual() == pagina + 1 && img != null);
        });
        return r.get();
    }

    private static void tecla(JComponent c, int codigo, int modificadores) throws Exception {
        SwingUtilities.invokeAndWait(() -> c.dispatchEvent(new KeyEvent(c, KeyEvent.KEY_PRESSED,
                System.currentTimeMillis(), modificadores, codigo, KeyEvent.CHAR_UNDEFINED)));
    }
}
