package visualizador.janela;

import java.awt.BorderLayout;
import java.awt.Dimension;
import java.awt.FlowLayout;
import java.awt.Frame;
import java.awt.GraphicsEnvironment;
import java.awt.Rectangle;
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
import java.awt.geom.Rectangle2D;
import java.awt.image.BufferedImage;
import java.awt.print.PrinterException;
import java.awt.print.PrinterJob;
import java.io.IOException;
import java.lang.reflect.InvocationTargetException;
import java.nio.file.Path;
import java.util.List;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.CountDownLatch;
import javax.print.PrintService;
import javax.print.PrintServiceLookup;
import javax.swing.AbstractAction;
import javax.swing.Action;
import javax.swing.BorderFactory;
import javax.swing.JButton;
import javax.swing.JComponent;
import javax.swing.JFrame;
import javax.swing.JLabel;
import javax.swing.JOptionPane;
import javax.swing.JPanel;
import javax.swing.JScrollBar;
import javax.swing.JScrollPane;
import javax.swing.JTextField;
import javax.swing.JToolBar;
import javax.swing.KeyStroke;
import javax.swing.ScrollPaneConstants;
import javax.swing.SwingUtilities;
import javax.swing.Timer;
import org.apache.pdfbox.pdmodel.PDDocument;
import visualizador.ErroRelatorio;
import visualizador.Formato;
import visualizador.dados.Cancelado;
import visualizador.dados.OpcoesRelatorio;
import visualizador.formatos.IntervaloPaginas;
import visualizador.pagina.Formatos;

/**
 * The report on screen, page by page as it will print, while it is still being laid out: page 1
 * shows as soon as it is finished and the others follow, with lines read, pages ready and
 * "Cancelar" below. Navigation, zoom, search (Ctrl+F, F3), "Salvar como…" (the report run again
 * in the chosen format) and "Imprimir…". Pages are drawn only when shown.
 */
public final class JanelaVisualizacao implements RelatorioEmCurso.Ouvinte {
    private static final float ZOOM_MINIMO = 0.1f;
    private static final float ZOOM_MAXIMO = 4f;
    private static final float PASSO_ZOOM = 1.25f;
    private static final long ESPERA_PARAR_S = 5;
    private static final int ESPERA_CANCELAR_MS = 1000;

    private enum Modo { LARGURA, PAGINA, FIXO }

    /** Runs the report into the preview's destination (see {@link #mostrar}). */
    public interface Gerador extends RelatorioEmCurso.Gerador {}

    private final JFrame janela;
    private final RelatorioEmCurso relatorio;
    private final PaginasRenderizadas paginas;
    private final PaginaVisualizada vista = new PaginaVisualizada();
    private final JScrollPane rolagem = new JScrollPane(vista);
    private final JTextField campoPagina = new JTextField(10);
    private final JTextField campoBusca = new JTextField(14);
    private final JLabel estado = new JLabel(" ");
    private final JLabel estadoBusca = new JLabel(" "); // apart: the report's progress rewrites estado
    private final JButton cancelar = new JButton("Cancelar");
    private final JButton primeira;
    private final JButton anterior;
    private final JButton proxima;
    private final JButton ultima;
    private final JButton salvarComo;
    private final JButton zoom100;
    private final String nome;
    private final Exportador exportador;
    private final CountDownLatch encerrada = new CountDownLatch(1);
    private final Timer andamento;
    private final Busca busca;
    private final float pontoParaPixel = Toolkit.getDefaultToolkit().getScreenResolution() / 72f;

    private int atual;
    private Modo modo = Modo.LARGURA;
    private float zoom = 1; // the FIXO zoom, 1 = actual size
    private boolean terminado;
    private String marcaPendente = "primeira-pagina"; // for the benchmark
    private volatile boolean canceladoPeloUsuario;
    private volatile Throwable falha;
    private volatile float escalaMostrada;
    private volatile String ultimoAviso;
    private volatile OpcoesRelatorio pedidas;
    private volatile CompletableFuture<Void> exportacao = CompletableFuture.completedFuture(null);

    /** The report's options as shown, and whether it can leave zero stock out. */
    public record Opcoes(OpcoesRelatorio atuais, boolean comEstoque) {}

    private JanelaVisualizacao(RelatorioEmCurso relatorio, String titulo, String nome, Exportador exportador,
                               Opcoes opcoes) {
        this.relatorio = relatorio;
        this.nome = nome;
        this.exportador = exportador;
        paginas = new PaginasRenderizadas(relatorio.destino().documento(), () -> {
            try {
                relatorio.destino().liberar();
            } catch (IOException e) {
                // Only read from: nothing is lost.
            }
        });
        busca = new Busca(paginas, relatorio.destino().indiceDeTexto(), this::resultadoBusca, this::andamentoBusca);
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
        zoom100 = botao(barra, "zoom100", "100%", "Tamanho real (Ctrl+0)", () -> definirZoom(1));
        botao(barra, "zoomMais", "+", "Aumentar (Ctrl++, Ctrl+roda do mouse)", this::aumentar);
        botao(barra, "zoomMenos", "−", "Diminuir (Ctrl+-, Ctrl+roda do mouse)", this::diminuir);
        barra.addSeparator();
        campoBusca.setName("procurar");
        campoBusca.getAccessibleContext().setAccessibleName("procurar");
        campoBusca.setToolTipText("Procurar código, descrição ou referência (Ctrl+F; F3 próxima, Shift+F3 anterior)");
        campoBusca.setMaximumSize(campoBusca.getPreferredSize());
        campoBusca.addActionListener(e -> procurar(true));
        final JLabel rotuloBusca = new JLabel("Procurar: ");
        rotuloBusca.setLabelFor(campoBusca);
        barra.add(rotuloBusca);
        barra.add(campoBusca);
        botao(barra, "buscaAnterior", "▲", "Ocorrência anterior (Shift+F3)", () -> procurar(false));
        botao(barra, "buscaProxima", "▼", "Próxima ocorrência (F3)", () -> procurar(true));
        barra.addSeparator();
        salvarComo = botao(barra, "salvarComo", "Salvar como…", "Salvar em PDF, XLS, HTML ou CSV", this::salvarComo);
        botao(barra, "imprimir", "Imprimir…", "Imprimir o relatório", this::imprimir);
        if (opcoes != null) {
            barra.addSeparator();
            new BotoesOpcoes(barra, opcoes.atuais(), opcoes.comEstoque(), o -> {
                pedidas = o; // the caller runs the report again with them and shows it anew
                janela.dispose();
            });
        }

        final JPanel rodape = new JPanel(new FlowLayout(FlowLayout.LEFT, 8, 2));
        rodape.setBorder(BorderFactory.createEmptyBorder(0, 4, 0, 4));
        estado.setName("estado");
        cancelar.setName("cancelar");
        cancelar.setFocusable(false);
        cancelar.addActionListener(e -> cancelar());
        rodape.add(cancelar);
        rodape.add(estado);
        estadoBusca.setName("estadoBusca");
        rodape.add(estadoBusca);

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
        janela.getContentPane().add(rodape, BorderLayout.SOUTH);
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
        andamento = new Timer(250, e -> andamento());
        janela.addWindowListener(new WindowAdapter() {
            @Override
            public void windowOpened(WindowEvent e) {
                vista.requestFocusInWindow();
            }

            @Override
            public void windowClosed(WindowEvent e) {
                redimensionado.stop();
                andamento.stop();
                busca.parar();
                relatorio.parar(); // closing the window mid-report stops it
                final Thread t = new Thread(() -> {
                    // Drawing and layout share the document: it goes only when both are done. A
                    // report that does not stop in time is left to the process's exit.
                    if (relatorio.aguardar(ESPERA_PARAR_S)) paginas.fechar();
                    encerrada.countDown();
                }, "visualizacao-fechar");
                t.start();
            }
        });
        janela.setBounds(GraphicsEnvironment.getLocalGraphicsEnvironment().getMaximumWindowBounds());
        janela.setMinimumSize(new Dimension(480, 320));
        janela.setExtendedState(Frame.MAXIMIZED_BOTH);
        andamento.start();
        andamento();
        mostrarPagina();
        paginas.aquecer(() -> escalaMostrada);
    }

    /**
     * Starts the window toolkit on the event thread and returns at once: its loading (the X
     * connection, the look and feel, the fonts of the controls) then overlaps the caller's own
     * start-up work, and the window itself is built quickly once the report has started.
     */
    public static void prepararTela() {
        SwingUtilities.invokeLater(() -> {
            final JFrame ensaio = new JFrame();
            final JToolBar barra = new JToolBar();
            barra.add(new JButton("Imprimir…"));
            barra.add(new JLabel("Procurar: "));
            barra.add(new JTextField(10));
            ensaio.getContentPane().add(barra, BorderLayout.NORTH);
            ensaio.getContentPane().add(new JScrollPane(new JPanel()), BorderLayout.CENTER);
            ensaio.pack();
            ensaio.dispose();
        });
    }

    /**
     * Shows the report while {@code gerador} lays it out, and returns when the window is closed.
     * {@code nome} is the suggested file name; {@code exportador} writes the report to a file.
     *
     * @throws Cancelado the user pressed "Cancelar" while the report ran
     * @throws ErroRelatorio the report failed (the window is closed then)
     */
    public static void mostrar(String titulo, String nome, Gerador gerador, Exportador exportador)
            throws ErroRelatorio, IOException {
        mostrar(titulo, nome, gerador, exportador, null);
    }

    /**
     * As above, with the toggles for the report's options. Returns the options the user asked for
     * by a toggle (the window is closed then, for the report to be run again with them), or null
     * when the user closed the window.
     */
    public static OpcoesRelatorio mostrar(String titulo, String nome, Gerador gerador, Exportador exportador,
                                          Opcoes opcoes) throws ErroRelatorio, IOException {
        // The query starts while the window is being built.
        final RelatorioEmCurso relatorio = RelatorioEmCurso.iniciar(gerador);
        final JanelaVisualizacao[] j = new JanelaVisualizacao[1];
        try {
            SwingUtilities.invokeAndWait(() -> {
                j[0] = new JanelaVisualizacao(relatorio, titulo, nome, exportador, opcoes);
                relatorio.ouvir(j[0]);
                j[0].janela.setVisible(true);
            });
        } catch (InvocationTargetException e) {
            relatorio.parar();
            if (e.getCause() instanceof RuntimeException r) throw r;
            throw new IllegalStateException(e.getCause());
        } catch (InterruptedException e) {
            relatorio.parar();
            Thread.currentThread().interrupt();
            return null;
        }
        j[0].aguardarFechamento();
        j[0].relatar();
        return j[0].pedidas;
    }

    /** The window, built but not shown, with the report started; on the event thread. */
    static JanelaVisualizacao criar(String titulo, String nome, Gerador gerador, Exportador exportador)
            throws IOException {
        return criar(titulo, nome, gerador, exportador, null);
    }

    static JanelaVisualizacao criar(String titulo, String nome, Gerador gerador, Exportador exportador, Opcoes opcoes)
            throws IOException {
        final JanelaVisualizacao j = new JanelaVisualizacao(RelatorioEmCurso.iniciar(gerador), titulo, nome, exportador,
                opcoes);
        j.relatorio.ouvir(j);
        return j;
    }

    /** Why the window closed, when not by the user's choice after the report. */
    void relatar() throws ErroRelatorio, IOException {
        if (canceladoPeloUsuario) throw new Cancelado();
        final Throwable f = falha;
        if (f instanceof ErroRelatorio e) throw e;
        if (f instanceof IOException e) throw e;
        if (f instanceof RuntimeException e) throw e;
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

    String textoDeEspera() {
        return vista.espera();
    }

    String ultimoAviso() {
        return ultimoAviso;
    }

    OpcoesRelatorio pedidas() {
        return pedidas;
    }

    PDDocument paginasDoDocumento() {
        return paginas.documento();
    }

    int marcasMostradas() {
        return vista.marcas().size();
    }

    float zoomAtual() {
        return zoomEfetivo();
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

    @Override
    public void primeiraPaginaNoLayout() {
        paginas.prontas(1);
        if (atual == 0) paginas.adiantar(0, () -> escalaMostrada);
    }

    @Override
    public void primeiraPaginaPronta() {
        if (!janela.isDisplayable()) return;
        andamento();
        if (vista.imagem() == null) mostrarPagina();
    }

    @Override
    public void terminou(Throwable erro) {
        if (!janela.isDisplayable()) return;
        terminado = true;
        andamento.stop();
        cancelar.setVisible(false);
        if (erro == null) {
            paginas.prontas(relatorio.prontas());
            paginas.esquecer(); // drawn before the footers had "de M"
            estado.setText(Formatos.linhas(relatorio.linhas()) + " · " + Formatos.paginas(paginas.total()));
            if (Medicao.sairNoFim()) {
                Medicao.marcar("fim");
                atual = Math.max(0, paginas.total() - 1);
                marcaPendente = "ultima-pagina";
            }
            mostrarPagina();
            return;
        }
        if (erro instanceof Cancelado) {
            // Asked for by the user or by the window closing: the window goes with it.
            if (canceladoPeloUsuario) janela.dispose();
            return;
        }
        paginas.prontas(relatorio.prontas());
        if (erro instanceof OutOfMemoryError) {
            estado.setText("Relatório interrompido: memória insuficiente · " + prontas());
            atualizarControles();
            if (vista.imagem() == null) mostrarPagina();
            aviso("Memória insuficiente para terminar o relatório: " + prontas()
                    + " continuam à vista. Restrinja os filtros ou salve em PDF.");
            return;
        }
        falha = erro;
        janela.dispose(); // the caller reports the failure, as for any other format
    }

    /** "1 página pronta" / "12 páginas prontas". */
    private String prontas() {
        return Formatos.paginas(paginas.total()) + (paginas.total() == 1 ? " pronta" : " prontas");
    }

    /** Lines read and pages ready, refreshed while the report runs. */
    private void andamento() {
        final int antes = paginas.total();
        paginas.prontas(relatorio.prontas());
        if (terminado) return;
        estado.setText(Formatos.linhas(relatorio.linhas()) + (relatorio.linhas() == 1 ? " lida · " : " lidas · ")
                + prontas());
        if (paginas.total() != antes) {
            atualizarControles();
            if (vista.imagem() == null) mostrarPagina();
        }
    }

    private void cancelar() {
        canceladoPeloUsuario = true;
        cancelar.setEnabled(false);
        estado.setText("Cancelando…");
        relatorio.parar();
        // Cancel holds within a second even if the report does not answer (a stuck connection).
        final Timer desistir = new Timer(ESPERA_CANCELAR_MS, e -> janela.dispose());
        desistir.setRepeats(false);
        desistir.start();
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
        // Esc stops a search under way; otherwise it closes the window.
        tecla(raiz, KeyEvent.VK_ESCAPE, 0, "fechar", () -> {
            if (!busca.cancelar()) janela.dispose();
        });
        final int ctrl = InputEvent.CTRL_DOWN_MASK;
        final int shift = InputEvent.SHIFT_DOWN_MASK;
        // "+" is Shift+= on most keyboards, a key of its own on others, and on the keypad.
        for (int[] k : new int[][] {{KeyEvent.VK_ADD, 0}, {KeyEvent.VK_PLUS, 0}, {KeyEvent.VK_EQUALS, 0},
            {KeyEvent.VK_EQUALS, shift}, {KeyEvent.VK_PLUS, shift}})
            tecla(raiz, k[0], ctrl | k[1], "zoomMais", this::aumentar);
        for (int k : new int[] {KeyEvent.VK_SUBTRACT, KeyEvent.VK_MINUS})
            tecla(raiz, k, ctrl, "zoomMenos", this::diminuir);
        for (int k : new int[] {KeyEvent.VK_0, KeyEvent.VK_NUMPAD0})
            tecla(raiz, k, ctrl, "zoom100", () -> definirZoom(1));
        tecla(raiz, KeyEvent.VK_F, ctrl, "procurar", this::abrirBusca);
        tecla(raiz, KeyEvent.VK_F3, 0, "buscaProxima", () -> procurar(true));
        tecla(raiz, KeyEvent.VK_F3, shift, "buscaAnterior", () -> procurar(false));
        // Enter looks further, Shift+Enter back; Esc in the field leaves it rather than the window.
        campoBusca.getInputMap(JComponent.WHEN_FOCUSED).put(KeyStroke.getKeyStroke(KeyEvent.VK_ENTER, shift),
                "buscaAnterior");
        campoBusca.getActionMap().put("buscaAnterior", acao("buscaAnterior", () -> procurar(false)));
        campoBusca.getInputMap(JComponent.WHEN_FOCUSED).put(KeyStroke.getKeyStroke(KeyEvent.VK_ESCAPE, 0), "sair");
        campoBusca.getActionMap().put("sair", acao("sair", () -> {
            if (!busca.cancelar()) vista.requestFocusInWindow();
        }));
        // The scroll pane's own page keys would scroll within the page instead of turning it.
        for (int k : new int[] {KeyEvent.VK_PAGE_UP, KeyEvent.VK_PAGE_DOWN})
            rolagem.getInputMap(JComponent.WHEN_ANCESTOR_OF_FOCUSED_COMPONENT).put(KeyStroke.getKeyStroke(k, 0), "none");
        for (int k : new int[] {KeyEvent.VK_HOME, KeyEvent.VK_END})
            rolagem.getInputMap(JComponent.WHEN_ANCESTOR_OF_FOCUSED_COMPONENT)
                    .put(KeyStroke.getKeyStroke(k, InputEvent.CTRL_DOWN_MASK), "none");
    }

    private static void tecla(JComponent c, int codigo, int modificadores, String nome, Runnable acao) {
        c.getInputMap(JComponent.WHEN_IN_FOCUSED_WINDOW).put(KeyStroke.getKeyStroke(codigo, modificadores), nome);
        c.getActionMap().put(nome, acao(nome, acao));
    }

    private static Action acao(String nome, Runnable acao) {
        return new AbstractAction(nome) {
            @Override
            public void actionPerformed(ActionEvent e) {
                acao.run();
            }
        };
    }

    private void aumentar() {
        definirZoom(zoomEfetivo() * PASSO_ZOOM);
    }

    private void diminuir() {
        definirZoom(zoomEfetivo() / PASSO_ZOOM);
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
        vista.marcas(List.of());
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

    /** Whether the window is laid out: before, a fitted zoom has no size to fit. */
    private boolean dimensionada() {
        final Dimension d = rolagem.getViewport().getExtentSize();
        return modo == Modo.FIXO || d.width > 2 * PaginaVisualizada.MARGEM && d.height > 2 * PaginaVisualizada.MARGEM;
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
        final float escala = escala();
        escalaMostrada = dimensionada() ? escala : Float.NaN;
        final int pagina = atual;
        final boolean pronta = pagina < paginas.total();
        vista.mostrar(Math.round(paginas.largura() * escala), Math.round(paginas.altura() * escala), escala,
                pronta ? paginas.pronta(pagina, escala) : null);
        if (!pronta) {
            vista.espera(terminado ? "Nenhuma página." : "Preparando a página " + (pagina + 1) + "…");
            return;
        }
        vista.espera("Desenhando a página " + (pagina + 1) + "…");
        if (vista.imagem() == null)
            paginas.pedir(pagina, escala, img -> {
                if (pagina != atual) return;
                vista.imagem(img);
                if (marcaPendente != null && Medicao.ativa()) {
                    vista.paintImmediately(vista.getVisibleRect());
                    Medicao.marcar(marcaPendente);
                    if (Medicao.sairAposPrimeiraPagina() || marcaPendente.equals("ultima-pagina")) janela.dispose();
                    marcaPendente = null;
                }
            }, this::aviso);
    }

    private void atualizarControles() {
        final int total = paginas.total();
        // The zoom in effect, whichever way it was reached (keys, wheel, a fitted mode).
        if (dimensionada()) zoom100.setText(Math.round(zoomEfetivo() * 100) + "%");
        final String de = terminado || relatorio.numeradas() ? Formatos.inteiro(total) : "…";
        campoPagina.setText(total == 0 && terminado ? "0 / 0" : (atual + 1) + " / " + de);
        primeira.setEnabled(atual > 0);
        anterior.setEnabled(atual > 0);
        proxima.setEnabled(atual + 1 < total);
        ultima.setEnabled(atual + 1 < total);
    }

    private void abrirBusca() {
        campoBusca.requestFocusInWindow();
        campoBusca.selectAll();
    }

    private void procurar(boolean adiante) {
        final String texto = campoBusca.getText().strip();
        if (texto.isEmpty()) {
            abrirBusca();
            return;
        }
        estadoBusca.setText("Procurando “" + texto + "”…");
        busca.procurar(texto, atual, adiante, paginas.total());
    }

    private void andamentoBusca(Busca.Andamento a) {
        estadoBusca.setText("Procurando “" + a.texto() + "”: página " + Formatos.inteiro(a.pagina() + 1) + " de "
                + Formatos.inteiro(a.total()) + " (Esc cancela)");
    }

    private void resultadoBusca(Busca.Resultado r) {
        if (!janela.isDisplayable()) return;
        if (r.erro() != null) {
            estadoBusca.setText("Não foi possível procurar: " + r.erro());
            return;
        }
        if (r.pagina() == Busca.CANCELADA) {
            estadoBusca.setText("Busca cancelada.");
            return;
        }
        if (r.pagina() < 0) {
            Toolkit.getDefaultToolkit().beep();
            estadoBusca.setText("“" + r.texto() + "” não encontrado" + (terminado ? "." : " nas páginas prontas."));
            return;
        }
        estadoBusca.setText("“" + r.texto() + "”: página " + Formatos.inteiro(r.pagina() + 1));
        if (r.pagina() != atual) irPara(r.pagina());
        // A hit the page's PDF text cannot place (a character beyond 16 bits) shows its page unmarked.
        if (r.caixa() == null) {
            vista.marcas(List.of());
            return;
        }
        vista.marcas(List.of(r.caixa()));
        // Bring the hit into view at any zoom.
        SwingUtilities.invokeLater(() -> {
            final Rectangle2D.Float c = r.caixa();
            vista.scrollRectToVisible(new Rectangle(vista.xTela(c.x) - 40, vista.yTela(c.y) - 40,
                    Math.round(c.width * escala()) + 80, Math.round(c.height * escala()) + 80));
        });
    }

    private void salvarComo() {
        final VisualizacaoEscolhaArquivo.Escolha e = VisualizacaoEscolhaArquivo.escolher(janela, nome,
                visualizador.publicacao.PastaDocumentos.de(visualizador.dados.Ambiente.doProcesso()),
                terminado && relatorio.numeradas() ? paginas.total() : -1);
        vista.requestFocusInWindow(); // page keys work again at once
        if (e != null) salvar(e.formato(), e.arquivo(), e.paginas());
    }

    /**
     * Writes the report to {@code destino}, run again in the background in the chosen format.
     * Completes when done, after any error has been shown.
     */
    CompletableFuture<Void> salvar(Formato formato, Path destino) {
        return salvar(formato, destino, null);
    }

    /** As above, only pages {@code paginas} of a PDF (null: all). */
    CompletableFuture<Void> salvar(Formato formato, Path destino, IntervaloPaginas paginasPdf) {
        salvarComo.setEnabled(false);
        return exportacao = CompletableFuture.runAsync(() -> {
            String erro = null;
            String nota = null;
            try {
                final Path gravado = exportador.exportar(formato, destino, paginasPdf);
                if (!destino.equals(gravado))
                    nota = "O relatório é longo demais para XLS e foi gravado em " + gravado
                            + " (Excel 2007 ou posterior).";
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
            final String informe = nota;
            try {
                SwingUtilities.invokeAndWait(() -> {
                    salvarComo.setEnabled(true);
                    if (mensagem != null) aviso(mensagem);
                    if (informe != null) aviso(informe, JOptionPane.INFORMATION_MESSAGE);
                });
            } catch (InterruptedException ex) {
                Thread.currentThread().interrupt();
            } catch (InvocationTargetException ex) {
                System.err.println(mensagem);
            }
        });
    }

    private void imprimir() {
        if (!terminado || !relatorio.numeradas()) {
            aviso("O relatório ainda não terminou: imprima quando todas as páginas estiverem prontas.");
            return;
        }
        final PrintService[] impressoras = DialogoImpressao.impressoras();
        if (impressoras.length == 0) {
            aviso("Nenhuma impressora instalada.");
            return;
        }
        final DialogoImpressao.Escolha escolha = DialogoImpressao.escolher(janela, impressoras,
                PrintServiceLookup.lookupDefaultPrintService(), paginas.total());
        vista.requestFocusInWindow();
        if (escolha == null) return;
        final PrinterJob job = PrinterJob.getPrinterJob();
        try {
            job.setPrintService(escolha.impressora());
        } catch (PrinterException e) {
            aviso("Não foi possível usar a impressora " + escolha.impressora().getName() + ": " + e.getMessage());
            return;
        }
        job.setJobName(janela.getTitle());
        job.setCopies(escolha.copias());
        job.setPageable(new PaginasParaImprimir(paginas.documento(), paginas.total(), escolha.paginas()));
        paginas.executar(() -> {
            try {
                synchronized (paginas.documento()) {
                    job.print();
                }
            } catch (PrinterException | RuntimeException e) {
                SwingUtilities.invokeLater(() -> aviso("Não foi possível imprimir: " + e.getMessage()));
            }
        });
    }

    private void aviso(String mensagem) {
        aviso(mensagem, JOptionPane.ERROR_MESSAGE);
    }

    private void aviso(String mensagem, int tipo) {
        ultimoAviso = mensagem;
        System.err.println(mensagem);
        if (Boolean.getBoolean("visualizador.semDialogos")) return;
        JOptionPane.showMessageDialog(janela, Avisos.quebrar(mensagem), Avisos.TITULO, tipo);
    }
}
