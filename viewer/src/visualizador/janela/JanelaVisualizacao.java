package visualizador.janela;

import java.awt.BorderLayout;
import java.awt.Dimension;
import java.awt.Frame;
import java.awt.GraphicsEnvironment;
import java.awt.Toolkit;
import java.awt.event.ActionEvent;
import java.awt.event.ComponentAdapter;
import java.awt.event.ComponentEvent;
import java.awt.event.InputEvent;
import java.awt.event.KeyEvent;
import java.awt.event.MouseAdapter;
import java.awt.event.MouseEvent;
import java.awt.event.MouseWheelEvent;
import java.awt.event.WindowAdapter;
import java.awt.event.WindowEvent;
import java.awt.image.BufferedImage;
import java.awt.print.PageFormat;
import java.awt.print.Pageable;
import java.awt.print.PrinterException;
import java.awt.print.PrinterJob;
import java.io.IOException;
import java.io.UncheckedIOException;
import java.lang.reflect.InvocationTargetException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.CountDownLatch;
import javax.print.PrintServiceLookup;
import javax.swing.AbstractAction;
import javax.swing.Action;
import javax.swing.JButton;
import javax.swing.JComponent;
import javax.swing.JFrame;
import javax.swing.JOptionPane;
import javax.swing.JScrollBar;
import javax.swing.JScrollPane;
import javax.swing.JTextField;
import javax.swing.JToolBar;
import javax.swing.KeyStroke;
import javax.swing.ScrollPaneConstants;
import javax.swing.SwingUtilities;
import javax.swing.Timer;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.printing.PDFPageable;
import visualizador.ErroRelatorio;
import visualizador.Formato;
import visualizador.dados.Cancelado;
import visualizador.dados.OpcoesRelatorio;
import visualizador.saida.ArquivoSaida;
import visualizador.saida.PastaRascunho;

/**
 * The report on screen, page by page as it will print: navigation, zoom, "Salvar como…" (the
 * same PDF, or the report run again as XLS or HTML) and "Imprimir…". Pages are drawn only when
 * shown, so a report of thousands of pages opens as fast as a short one.
 */
public final class JanelaVisualizacao {
    private static final float ZOOM_MINIMO = 0.1f;
    private static final float ZOOM_MAXIMO = 4f;
    private static final float PASSO_ZOOM = 1.25f;

    private enum Modo { LARGURA, PAGINA, FIXO }

    private final JFrame janela;
    private final PaginasRenderizadas paginas;
    private final PaginaVisualizada vista = new PaginaVisualizada();
    private final JScrollPane rolagem = new JScrollPane(vista);
    private final JTextField campoPagina = new JTextField(10);
    private final JButton primeira;
    private final JButton anterior;
    private final JButton proxima;
    private final JButton ultima;
    private final JButton salvarComo;
    private final Path pdf;
    private final String nome;
    private final Exportador exportador;
    private final CountDownLatch encerrada = new CountDownLatch(1);
    private final float pontoParaPixel = Toolkit.getDefaultToolkit().getScreenResolution() / 72f;

    private int atual;
    private Modo modo = Modo.LARGURA;
    private float zoom = 1; // the FIXO zoom, 1 = actual size
    private volatile String ultimoAviso;
    private volatile OpcoesRelatorio pedidas;
    private volatile CompletableFuture<Void> exportacao = CompletableFuture.completedFuture(null);

    private JanelaVisualizacao(PDDocument doc, Path pdf, String titulo, String nome, Exportador exportador,
                               Opcoes opcoes) {
        this.pdf = pdf;
        this.nome = nome;
        this.exportador = exportador;
        paginas = new PaginasRenderizadas(doc);
        janela = new JFrame(titulo);
        janela.setName("visualizacao");
        janela.setDefaultCloseOperation(JFrame.DISPOSE_ON_CLOSE);

        final JToolBar barra = new JToolBar();
        barra.setFloatable(false);
        primeira = botao(barra, "primeira", "«", "Primeira página (Home)", this::primeiraPagina);
        anterior = botao(barra, "anterior", "‹", "Página anterior (PgUp)", this::paginaAnterior);
        campoPagina.setName("paginaAtual");
        campoPagina.getAccessibleContext().setAccessibleName("paginaAtual");
        campoPagina.setToolTipText("Página: digite o número e tecle Enter");
        campoPagina.setHorizontalAlignment(JTextField.CENTER);
        campoPagina.setMaximumSize(campoPagina.getPreferredSize());
        campoPagina.addActionListener(e -> irParaDigitada());
        barra.add(campoPagina);
        proxima = botao(barra, "proxima", "›", "Próxima página (PgDn)", this::proximaPagina);
        ultima = botao(barra, "ultima", "»", "Última página (End)", this::ultimaPagina);
        barra.addSeparator();
        botao(barra, "zoomLargura", "Largura", "Ajustar à largura", () -> definirModo(Modo.LARGURA));
        botao(barra, "zoomPagina", "Página", "Página inteira", () -> definirModo(Modo.PAGINA));
        botao(barra, "zoom100", "100%", "Tamanho real", () -> definirZoom(1));
        botao(barra, "zoomMais", "+", "Aumentar (Ctrl+roda do mouse)", () -> definirZoom(zoomEfetivo() * PASSO_ZOOM));
        botao(barra, "zoomMenos", "−", "Diminuir (Ctrl+roda do mouse)", () -> definirZoom(zoomEfetivo() / PASSO_ZOOM));
        barra.addSeparator();
        salvarComo = botao(barra, "salvarComo", "Salvar como…", "Salvar em PDF, XLS ou HTML", this::salvarComo);
        botao(barra, "imprimir", "Imprimir…", "Imprimir o relatório", this::imprimir);
        if (opcoes != null) {
            barra.addSeparator();
            new BotoesOpcoes(barra, opcoes.atuais(), opcoes.comEstoque(), o -> {
                pedidas = o; // the caller runs the report again with them and shows it anew
                janela.dispose();
            });
        }

        rolagem.setVerticalScrollBarPolicy(ScrollPaneConstants.VERTICAL_SCROLLBAR_ALWAYS);
        rolagem.getVerticalScrollBar().setUnitIncrement(24);
        rolagem.getHorizontalScrollBar().setUnitIncrement(24);
        vista.addMouseWheelListener(this::roda);
        vista.addMouseListener(new MouseAdapter() {
            @Override
            public void mousePressed(MouseEvent e) {
                vista.requestFocusInWindow();
            }
        });
        teclas();

        janela.getContentPane().add(barra, BorderLayout.NORTH);
        janela.getContentPane().add(rolagem, BorderLayout.CENTER);
        // A fitted zoom follows the window's size, once the resizing pauses.
        final Timer redimensionado = new Timer(150, e -> {
            if (modo != Modo.FIXO) mostrarPagina();
        });
        redimensionado.setRepeats(false);
        rolagem.getViewport().addComponentListener(new ComponentAdapter() {
            @Override
            public void componentResized(ComponentEvent e) {
                redimensionado.restart();
            }
        });
        janela.addWindowListener(new WindowAdapter() {
            @Override
            public void windowOpened(WindowEvent e) {
                vista.requestFocusInWindow();
            }

            @Override
            public void windowClosed(WindowEvent e) {
                redimensionado.stop();
                final Thread t = new Thread(() -> {
                    paginas.fechar();
                    encerrada.countDown();
                }, "visualizacao-fechar");
                t.start();
            }
        });
        janela.setBounds(GraphicsEnvironment.getLocalGraphicsEnvironment().getMaximumWindowBounds());
        janela.setMinimumSize(new Dimension(480, 320));
        janela.setExtendedState(Frame.MAXIMIZED_BOTH);
        mostrarPagina();
    }

    /**
     * Shows the PDF and returns when the window is closed, with the document closed. {@code nome}
     * is the suggested file name; {@code exportador} writes the report in another format.
     */
    public static void mostrar(Path pdf, String titulo, String nome, Exportador exportador) {
        mostrar(pdf, titulo, nome, exportador, null);
    }

    /** The report's options as shown, and whether it can leave zero stock out. */
    public record Opcoes(OpcoesRelatorio atuais, boolean comEstoque) {}

    /**
     * As above, with the toggles for the report's options. Returns the options the user asked for
     * by a toggle (the window is closed then, for the report to be run again with them), or null
     * when the user closed the window.
     */
    public static OpcoesRelatorio mostrar(Path pdf, String titulo, String nome, Exportador exportador, Opcoes opcoes) {
        final JanelaVisualizacao[] j = new JanelaVisualizacao[1];
        try {
            SwingUtilities.invokeAndWait(() -> {
                try {
                    j[0] = criar(pdf, titulo, nome, exportador, opcoes);
                } catch (IOException e) {
                    throw new UncheckedIOException(e);
                }
                j[0].janela.setVisible(true);
            });
        } catch (InvocationTargetException e) {
            if (e.getCause() instanceof UncheckedIOException u)
                throw new UncheckedIOException("não foi possível abrir a visualização: " + u.getCause().getMessage(),
                        u.getCause());
            if (e.getCause() instanceof RuntimeException r) throw r;
            throw new IllegalStateException(e.getCause());
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
            return null;
        }
        j[0].aguardarFechamento();
        return j[0].pedidas;
    }

    /** The window, built but not shown; on the event thread. */
    static JanelaVisualizacao criar(Path pdf, String titulo, String nome, Exportador exportador) throws IOException {
        return criar(pdf, titulo, nome, exportador, null);
    }

    static JanelaVisualizacao criar(Path pdf, String titulo, String nome, Exportador exportador, Opcoes opcoes)
            throws IOException {
        // Read from the file as pages are shown: a long report is not loaded whole.
        final PDDocument doc = PDDocument.load(pdf.toFile(), PastaRascunho.doProcesso().memoriaPdf(16L << 20));
        try {
            return new JanelaVisualizacao(doc, pdf, titulo, nome, exportador, opcoes);
        } catch (RuntimeException e) {
            doc.close();
            throw e;
        }
    }

    JFrame janela() {
        return janela;
    }

    /** 1-based. */
    int paginaAtual() {
        return atual + 1;
    }

    int totalPaginas() {
        return paginas.total();
    }

    BufferedImage imagemMostrada() {
        return vista.imagem();
    }

    OpcoesRelatorio pedidas() {
        return pedidas;
    }

    String ultimoAviso() {
        return ultimoAviso;
    }

    /** Waits for the window to close and the document with it, and for an export under way. */
    void aguardarFechamento() {
        try {
            encerrada.await();
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
            return;
        }
        // The caller exits next: an export cut short would leave half a file.
        exportacao.join();
    }

    private JButton botao(JToolBar barra, String nomeComponente, String texto, String dica, Runnable acao) {
        final JButton b = new JButton(texto);
        b.setName(nomeComponente);
        b.getAccessibleContext().setAccessibleName(nomeComponente);
        b.setToolTipText(dica);
        b.setFocusable(false); // keys keep working on the page after a click
        b.addActionListener(e -> acao.run());
        barra.add(b);
        return b;
    }

    private void teclas() {
        final JComponent raiz = janela.getRootPane();
        tecla(raiz, KeyEvent.VK_PAGE_UP, 0, "anterior", this::paginaAnterior);
        tecla(raiz, KeyEvent.VK_PAGE_DOWN, 0, "proxima", this::proximaPagina);
        tecla(raiz, KeyEvent.VK_HOME, 0, "primeira", this::primeiraPagina);
        tecla(raiz, KeyEvent.VK_END, 0, "ultima", this::ultimaPagina);
        tecla(raiz, KeyEvent.VK_ESCAPE, 0, "fechar", janela::dispose);
        tecla(raiz, KeyEvent.VK_ADD, InputEvent.CTRL_DOWN_MASK, "zoomMais", () -> definirZoom(zoomEfetivo() * PASSO_ZOOM));
        tecla(raiz, KeyEvent.VK_SUBTRACT, InputEvent.CTRL_DOWN_MASK, "zoomMenos",
                () -> definirZoom(zoomEfetivo() / PASSO_ZOOM));
        // The scroll pane's own page keys would scroll within the page instead of turning it.
        for (int k : new int[] {KeyEvent.VK_PAGE_UP, KeyEvent.VK_PAGE_DOWN})
            rolagem.getInputMap(JComponent.WHEN_ANCESTOR_OF_FOCUSED_COMPONENT).put(KeyStroke.getKeyStroke(k, 0), "none");
        for (int k : new int[] {KeyEvent.VK_HOME, KeyEvent.VK_END})
            rolagem.getInputMap(JComponent.WHEN_ANCESTOR_OF_FOCUSED_COMPONENT)
                    .put(KeyStroke.getKeyStroke(k, InputEvent.CTRL_DOWN_MASK), "none");
    }

    private static void tecla(JComponent c, int codigo, int modificadores, String nome, Runnable acao) {
        c.getInputMap(JComponent.WHEN_IN_FOCUSED_WINDOW).put(KeyStroke.getKeyStroke(codigo, modificadores), nome);
        final Action a = new AbstractAction(nome) {
            @Override
            public void actionPerformed(ActionEvent e) {
                acao.run();
            }
        };
        c.getActionMap().put(nome, a);
    }

    // Ctrl+wheel zooms; the wheel past the end of a page turns it.
    private void roda(MouseWheelEvent e) {
        if (e.isControlDown()) {
            definirZoom(zoomEfetivo() * (e.getWheelRotation() < 0 ? PASSO_ZOOM : 1 / PASSO_ZOOM));
            return;
        }
        final JScrollBar barra = rolagem.getVerticalScrollBar();
        final boolean noFim = barra.getValue() + barra.getVisibleAmount() >= barra.getMaximum();
        final boolean noInicio = barra.getValue() <= barra.getMinimum();
        if (e.getWheelRotation() > 0 && noFim && atual + 1 < paginas.total()) {
            irPara(atual + 1);
        } else if (e.getWheelRotation() < 0 && noInicio && atual > 0) {
            irPara(atual - 1);
            SwingUtilities.invokeLater(() -> barra.setValue(barra.getMaximum()));
        } else {
            rolagem.dispatchEvent(SwingUtilities.convertMouseEvent(vista, e, rolagem));
        }
    }

    private void primeiraPagina() {
        irPara(0);
    }

    private void paginaAnterior() {
        irPara(atual - 1);
    }

    private void proximaPagina() {
        irPara(atual + 1);
    }

    private void ultimaPagina() {
        irPara(paginas.total() - 1);
    }

    private void irPara(int pagina) {
        final int p = Math.max(0, Math.min(paginas.total() - 1, pagina));
        if (p == atual) return;
        atual = p;
        rolagem.getVerticalScrollBar().setValue(0);
        mostrarPagina();
    }

    private void irParaDigitada() {
        final String t = campoPagina.getText();
        final int barra = t.indexOf('/');
        try {
            final int p = Integer.parseInt((barra < 0 ? t : t.substring(0, barra)).strip());
            if (p >= 1 && p <= paginas.total()) {
                irPara(p - 1);
                atualizarControles();
                vista.requestFocusInWindow();
                return;
            }
        } catch (NumberFormatException e) {
            // handled below, as any other page that does not exist
        }
        Toolkit.getDefaultToolkit().beep();
        atualizarControles();
    }

    private void definirModo(Modo m) {
        modo = m;
        mostrarPagina();
    }

    private void definirZoom(float z) {
        zoom = Math.max(ZOOM_MINIMO, Math.min(ZOOM_MAXIMO, z));
        modo = Modo.FIXO;
        mostrarPagina();
    }

    /** The zoom now in effect, 1 = actual size. */
    private float zoomEfetivo() {
        return escala() / pontoParaPixel;
    }

    /** Pixels per point of the page as now shown. */
    private float escala() {
        final Dimension d = rolagem.getViewport().getExtentSize();
        final float largura = d.width - 2f * PaginaVisualizada.MARGEM;
        final float altura = d.height - 2f * PaginaVisualizada.MARGEM;
        // Before the window is laid out the viewport has no size.
        if (modo != Modo.FIXO && (largura <= 0 || altura <= 0)) return pontoParaPixel;
        final float e = switch (modo) {
            case FIXO -> zoom * pontoParaPixel;
            case LARGURA -> largura / paginas.largura();
            case PAGINA -> Math.min(largura / paginas.largura(), altura / paginas.altura());
        };
        return Math.max(ZOOM_MINIMO * pontoParaPixel, Math.min(ZOOM_MAXIMO * pontoParaPixel, e));
    }

    private void mostrarPagina() {
        atualizarControles();
        if (paginas.total() == 0) return;
        final float escala = escala();
        final int pagina = atual;
        vista.mostrar(Math.round(paginas.largura() * escala), Math.round(paginas.altura() * escala),
                paginas.pronta(pagina, escala));
        if (vista.imagem() == null)
            paginas.pedir(pagina, escala, img -> {
                if (pagina == atual) vista.imagem(img);
            }, this::aviso);
    }

    private void atualizarControles() {
        campoPagina.setText(paginas.total() == 0 ? "0 / 0" : (atual + 1) + " / " + paginas.total());
        primeira.setEnabled(atual > 0);
        anterior.setEnabled(atual > 0);
        proxima.setEnabled(atual + 1 < paginas.total());
        ultima.setEnabled(atual + 1 < paginas.total());
    }

    private void salvarComo() {
        final VisualizacaoEscolhaArquivo.Escolha e = VisualizacaoEscolhaArquivo.escolher(janela, nome);
        vista.requestFocusInWindow(); // page keys work again at once
        if (e != null) salvar(e.formato(), e.arquivo());
    }

    /**
     * Writes the report to {@code destino}: a copy of the PDF shown, or the report run again in the
     * background for XLS and HTML. Completes when done, after any error has been shown.
     */
    CompletableFuture<Void> salvar(Formato formato, Path destino) {
        if (formato == Formato.PDF) {
            try {
                if (!Files.exists(destino) || !Files.isSameFile(pdf, destino)) copiar(pdf, destino);
            } catch (IOException ex) {
                aviso("Não foi possível salvar " + destino + ": " + ex.getMessage());
            }
            return CompletableFuture.completedFuture(null);
        }
        salvarComo.setEnabled(false);
        return exportacao = CompletableFuture.runAsync(() -> {
            String erro = null;
            try {
                exportador.exportar(formato, destino);
            } catch (Cancelado ex) {
                // The user stopped it: nothing to report.
            } catch (ErroRelatorio ex) {
                erro = ex.getMessage();
            } catch (IOException ex) {
                erro = "Erro de gravação: " + ex.getMessage();
            } catch (RuntimeException ex) {
                erro = "Erro inesperado ao salvar: " + ex;
            }
            final String mensagem = erro;
            try {
                SwingUtilities.invokeAndWait(() -> {
                    salvarComo.setEnabled(true);
                    if (mensagem != null) aviso(mensagem);
                });
            } catch (InterruptedException ex) {
                Thread.currentThread().interrupt();
            } catch (InvocationTargetException ex) {
                System.err.println(mensagem);
            }
        });
    }

    /** A copy with the usual permissions (not the scratch's), put in place only once complete. */
    private static void copiar(Path pdf, Path destino) throws IOException {
        final Path novo = PastaRascunho.doProcesso().novoArquivo(".pdf");
        try {
            try (var out = Files.newOutputStream(novo)) {
                Files.copy(pdf, out);
            }
            ArquivoSaida.substituir(novo, destino);
        } finally {
            Files.deleteIfExists(novo);
        }
    }

    private void imprimir() {
        if (PrintServiceLookup.lookupDefaultPrintService() == null
                && PrintServiceLookup.lookupPrintServices(null, null).length == 0) {
            aviso("Nenhuma impressora instalada.");
            return;
        }
        final PrinterJob job = PrinterJob.getPrinterJob();
        job.setJobName(janela.getTitle());
        job.setPageable(new Paginas());
        final boolean imprimir = job.printDialog();
        vista.requestFocusInWindow();
        if (!imprimir) return;
        paginas.executar(() -> {
            try {
                job.print();
            } catch (PrinterException | RuntimeException e) {
                SwingUtilities.invokeLater(() -> aviso("Não foi possível imprimir: " + e.getMessage()));
            }
        });
    }

    /**
     * The document for printing. The dialog asks for the page count on the event thread, so that
     * comes from what is known; the pages themselves are read on the drawing thread (print runs there).
     */
    private final class Paginas implements Pageable {
        private PDFPageable pdfbox;

        private PDFPageable pdfbox() {
            if (pdfbox == null) pdfbox = new PDFPageable(paginas.documento());
            return pdfbox;
        }

        @Override
        public int getNumberOfPages() {
            return paginas.total();
        }

        @Override
        public PageFormat getPageFormat(int pagina) {
            return pdfbox().getPageFormat(pagina);
        }

        @Override
        public java.awt.print.Printable getPrintable(int pagina) {
            return pdfbox().getPrintable(pagina);
        }
    }

    private void aviso(String mensagem) {
        ultimoAviso = mensagem;
        System.err.println(mensagem);
        if (Boolean.getBoolean("visualizador.semDialogos")) return;
        JOptionPane.showMessageDialog(janela, Avisos.quebrar(mensagem), Avisos.TITULO, JOptionPane.ERROR_MESSAGE);
    }
}
