package visualizador.janela;

import java.awt.AWTError;
import java.awt.GraphicsEnvironment;
import java.lang.reflect.InvocationTargetException;
import javax.swing.JOptionPane;
import javax.swing.SwingUtilities;

/** Error messages: always on standard error, and in a dialog when there is a display. */
public final class Avisos {
    public static final String TITULO = "Relatório";

    private Avisos() {}

    public static void erro(String mensagem) {
        System.err.println(mensagem);
        dialogo(mensagem, JOptionPane.ERROR_MESSAGE);
    }

    /** A notice shown in a dialog only; the caller already wrote it where it belongs. */
    public static void informar(String mensagem) {
        dialogo(mensagem, JOptionPane.INFORMATION_MESSAGE);
    }

    private static void dialogo(String mensagem, int tipo) {
        if (GraphicsEnvironment.isHeadless() || Boolean.getBoolean("visualizador.semDialogos")) return;
        try {
            SwingUtilities.invokeAndWait(() -> JOptionPane.showMessageDialog(null, quebrar(mensagem), TITULO, tipo));
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
        } catch (InvocationTargetException | RuntimeException | AWTError e) {
            // The display went away: standard error already has the message.
        }
    }

    /** Long lines wrapped at blanks so the dialog fits on the screen. */
    static String quebrar(String texto) {
        final StringBuilder s = new StringBuilder();
        for (String linha : texto.split("\n", -1)) {
            int inicio = 0;
            while (linha.length() - inicio > 100) {
                int corte = linha.lastIndexOf(' ', inicio + 100);
                if (corte <= inicio) corte = inicio + 100;
                s.append(linha, inicio, corte).append('\n');
                inicio = corte < linha.length() && linha.charAt(corte) == ' ' ? corte + 1 : corte;
            }
            s.append(linha.substring(inicio)).append('\n');
        }
        return s.toString().stripTrailing();
    }
}
