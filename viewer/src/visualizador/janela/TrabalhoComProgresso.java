package visualizador.janela;

import java.awt.BorderLayout;
import java.io.IOException;
import java.util.concurrent.atomic.AtomicBoolean;
import java.util.concurrent.atomic.AtomicInteger;
import java.util.concurrent.atomic.AtomicLong;
import javax.swing.BorderFactory;
import javax.swing.JButton;
import javax.swing.JDialog;
import javax.swing.JLabel;
import javax.swing.JPanel;
import javax.swing.SwingUtilities;
import javax.swing.Timer;
import visualizador.ErroRelatorio;
import visualizador.dados.Progresso;
import visualizador.saida.Formatos;

/**
 * Runs a report; with a display, a long one shows lines read and pages laid out in a small
 * window with "Cancelar". Short reports finish before the window would appear.
 */
public final class TrabalhoComProgresso implements Progresso {
    private static final int ATRASO_MS = 600;

    /** The work itself, told of progress and asked about cancelling. */
    @FunctionalInterface
    public interface Trabalho {
        void executar(Progresso progresso) throws ErroRelatorio, IOException;
    }

    private final AtomicLong linhas = new AtomicLong();
    private final AtomicInteger paginas = new AtomicInteger();
    private final AtomicBoolean cancelado = new AtomicBoolean();

    public static void executar(boolean tela, String titulo, Trabalho trabalho) throws ErroRelatorio, IOException {
        final TrabalhoComProgresso p = new TrabalhoComProgresso();
        if (!tela) {
            trabalho.executar(p);
            return;
        }
        final JDialog[] janela = new JDialog[1];
        final Timer timer = new Timer(ATRASO_MS, null);
        timer.addActionListener(e -> {
            if (janela[0] == null) janela[0] = p.janela(titulo);
            p.atualizar(janela[0]);
        });
        timer.setInitialDelay(ATRASO_MS);
        timer.setDelay(250);
        SwingUtilities.invokeLater(timer::start);
        try {
            trabalho.executar(p);
        } finally {
            SwingUtilities.invokeLater(() -> {
                timer.stop();
                if (janela[0] != null) janela[0].dispose();
            });
        }
    }

    private JDialog janela(String titulo) {
        final JDialog d = new JDialog((java.awt.Frame) null, titulo, false);
        final JLabel rotulo = new JLabel("Lendo linhas…");
        rotulo.setName("progresso");
        final JButton cancelar = new JButton("Cancelar");
        cancelar.addActionListener(e -> {
            cancelado.set(true);
            cancelar.setEnabled(false);
            rotulo.setText("Cancelando…");
        });
        final JPanel painel = new JPanel(new BorderLayout(12, 12));
        painel.setBorder(BorderFactory.createEmptyBorder(16, 16, 16, 16));
        painel.add(rotulo, BorderLayout.CENTER);
        painel.add(cancelar, BorderLayout.SOUTH);
        d.setContentPane(painel);
        d.setDefaultCloseOperation(JDialog.DO_NOTHING_ON_CLOSE);
        d.setSize(360, 130);
        d.setLocationRelativeTo(null);
        d.setVisible(true);
        return d;
    }

    private void atualizar(JDialog d) {
        final JLabel rotulo = (JLabel) ((JPanel) d.getContentPane()).getComponent(0);
        if (!cancelado.get())
            rotulo.setText(Formatos.linhas(linhas.get()) + " lidas · " + Formatos.inteiro(paginas.get()) + " páginas");
    }

    @Override
    public void linhasLidas(long n) {
        linhas.set(n);
    }

    @Override
    public void paginas(int n) {
        paginas.set(n);
    }

    @Override
    public boolean cancelado() {
        return cancelado.get();
    }
}
