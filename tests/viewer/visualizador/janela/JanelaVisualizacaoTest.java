package visualizador.janela;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assumptions.assumeFalse;

import java.awt.Component;
import java.awt.Container;
import java.awt.Frame;
import java.awt.GraphicsEnvironment;
import java.awt.event.InputEvent;
import java.awt.event.KeyEvent;
import java.awt.image.BufferedImage;
import java.nio.file.Path;
import java.util.List;
import java.util.concurrent.Callable;
import java.util.concurrent.CountDownLatch;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.atomic.AtomicReference;
import java.util.function.BooleanSupplier;
import javax.swing.AbstractButton;
import javax.swing.JLabel;
import javax.swing.JTextField;
import javax.swing.SwingUtilities;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import org.junit.jupiter.api.io.TempDir;
import visualizador.ErroRelatorio;
import visualizador.Formato;
import visualizador.dados.Cancelado;
import visualizador.dados.OpcoesRelatorio;
import visualizador.design.Coluna;
import visualizador.formatos.PdfSintetico;

/** The preview under Xvfb, fed by a made-up report that can be held half-way. */
class JanelaVisualizacaoTest {
    private static final String TITULO = "Relação de Produtos por Endereço";
    private static final int LINHAS = 500;
    @TempDir
    static Path dir;
    private static int colunaDescricao;
    private JanelaVisualizacao janela;

    @BeforeAll
    static void exigirTela() throws Exception {
        assumeFalse(GraphicsEnvironment.isHeadless(), "needs a display (Xvfb)");
        final List<Coluna> colunas = PdfSintetico.colunas();
        for (int i = 0; i < colunas.size(); i++)
            if (colunas.get(i).campo().equals("prodes")) colunaDescricao = i;
    }

    @AfterEach
    void fechar() throws Exception {
        if (janela != null) {
            edt(() -> janela.janela().dispose());
            janela.aguardarFechamento();
        }
    }

    /** A report of {@code linhas} lines that waits at line {@code parada} until {@code seguir} opens. */
    private static JanelaVisualizacao.Gerador sintetico(int linhas, int parada, CountDownLatch seguir,
                                                       PdfSintetico.Ajuste ajuste) {
        return (destino, progresso) -> PdfSintetico.escrever(destino, linhas, 10, (i, v) -> {
            if (i == parada) aguardar(seguir, progresso);
            progresso.linhasLidas(i + 1);
            ajuste.ajustar(i, v);
        });
    }

    private static void aguardar(CountDownLatch l, visualizador.dados.Progresso progresso) throws Cancelado {
        try {
            while (!l.await(20, TimeUnit.MILLISECONDS))
                if (progresso.cancelado()) throw new Cancelado();
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
            throw new Cancelado();
        }
    }

    private JanelaVisualizacao abrir(JanelaVisualizacao.Gerador gerador, Exportador exportador) throws Exception {
        janela = edt(() -> {
            final JanelaVisualizacao j = JanelaVisualizacao.criar(TITULO, "previa", gerador, exportador);
            j.janela().setVisible(true);
            return j;
        });
        return janela;
    }

    private static <T> T edt(Callable<T> c) throws Exception {
        final AtomicReference<T> r = new AtomicReference<>();
        final AtomicReference<Exception> falha = new AtomicReference<>();
        SwingUtilities.invokeAndWait(() -> {
            try {
                r.set(c.call());
            } catch (Exception e) {
                falha.set(e);
            }
        });
        if (falha.get() != null) throw falha.get();
        return r.get();
    }

    private static void edt(Runnable r) throws Exception {
        SwingUtilities.invokeAndWait(r);
    }

    private static void esperar(String oQue, Callable<Boolean> condicao) throws Exception {
        final long limite = System.nanoTime() + TimeUnit.SECONDS.toNanos(30);
        while (!edt(condicao)) {
            assertTrue(System.nanoTime() < limite, "timed out waiting for " + oQue);
            Thread.sleep(20);
        }
    }

    private static Component achar(Container c, String nome) {
        for (Component filho : c.getComponents()) {
            if (nome.equals(filho.getName())) return filho;
            if (filho instanceof Container sub && achar(sub, nome) != null) return achar(sub, nome);
        }
        return null;
    }

    private Component componente(String nome) {
        return achar(janela.janela().getContentPane(), nome);
    }

    private String campo() throws Exception {
        return edt(this::textoDoCampo);
    }

    private String textoDoCampo() {
        return ((JTextField) componente("paginaAtual")).getText();
    }

    private void clicar(String nome) throws Exception {
        edt(() -> ((AbstractButton) componente(nome)).doClick());
    }

    private static void tecla(Component c, int codigo, int modificadores) throws Exception {
        edt(() -> c.dispatchEvent(new KeyEvent(c, KeyEvent.KEY_PRESSED, System.currentTimeMillis(), modificadores,
                codigo, KeyEvent.CHAR_UNDEFINED)));
    }

    private boolean paginaDesenhada() {
        final BufferedImage img = janela.imagemMostrada();
        return img != null && temTinta(img);
    }

    private static boolean temTinta(BufferedImage img) {
        int escuros = 0;
        for (int y = 0; y < img.getHeight(); y += 2)
            for (int x = 0; x < img.getWidth(); x += 2)
                if ((img.getRGB(x, y) & 0xff) < 128) escuros++;
        return escuros > 100;
    }

    private boolean naPagina(int pagina, String texto) throws Exception {
        return !TextoDaPagina.ocorrencias(janela.paginasDoDocumento(), pagina, texto).isEmpty();
    }

    @Test
    void mostraAsPaginasAntesDoFimENumeraNoFim() throws Exception {
        final CountDownLatch inicio = new CountDownLatch(1);
        final CountDownLatch resto = new CountDownLatch(1);
        abrir((destino, progresso) -> {
            aguardar(inicio, progresso);
            sintetico(LINHAS, 300, resto, (i, v) -> {}).gerar(destino, progresso);
        }, (f, p) -> p);
        // Nothing laid out yet: the sheet says so instead of showing a blank page.
        assertEquals("1 / …", campo());
        assertNull(edt(() -> janela.imagemMostrada()));
        assertEquals("Preparando a página 1…", edt(() -> janela.textoDeEspera()));
        inicio.countDown();

        esperar("page 1 drawn while the report is held", this::paginaDesenhada);
        assertEquals("1 / …", campo());
        esperar("progress shown", () -> ((JLabel) componente("estado")).getText().contains("300 linhas lidas"));
        assertTrue(edt(() -> componente("cancelar").isVisible()));
        final int antes = edt(() -> janela.totalPaginas());
        assertTrue(antes > 1, "pages ready so far: " + antes);
        assertFalse(naPagina(0, "Página 1 de"), "the total is not known yet");

        resto.countDown();
        esperar("the total", () -> !textoDoCampo().endsWith("…"));
        final int total = edt(() -> janela.totalPaginas());
        assertTrue(total > antes);
        assertEquals("1 / " + total, campo());
        assertTrue(edt(() -> ((JLabel) componente("estado")).getText()).endsWith(" · " + total + " páginas"));
        assertFalse(edt(() -> componente("cancelar").isVisible()));
        assertTrue(naPagina(0, "Página 1 de " + total) && naPagina(total - 1, "Página " + total + " de " + total));
        esperar("page 1 drawn again, with its footer", this::paginaDesenhada);

        clicar("proxima");
        assertEquals("2 / " + total, campo());
        clicar("ultima");
        assertEquals(total + " / " + total, campo());
        assertFalse(edt(() -> componente("proxima").isEnabled()));
        final Component pagina = componente("pagina");
        tecla(pagina, KeyEvent.VK_PAGE_UP, 0);
        assertEquals((total - 1) + " / " + total, campo());
        tecla(pagina, KeyEvent.VK_HOME, 0);
        assertEquals(1, (int) edt(() -> janela.paginaAtual()));
        edt(() -> {
            final JTextField f = (JTextField) componente("paginaAtual");
            f.setText(String.valueOf(total + 1)); // no such page: stays where it is
            f.postActionEvent();
        });
        assertEquals("1 / " + total, campo());
    }

    @Test
    void procuraEntrePaginasEnquantoChegam() throws Exception {
        final CountDownLatch resto = new CountDownLatch(1);
        // Two lines far apart carry the text looked for; the second only once the report goes on.
        abrir(sintetico(LINHAS, 300, resto, (i, v) -> {
            if (i == 120 || i == 420) v[colunaDescricao] = "BISCOITO RECHEADO XPTO " + i;
        }), (f, p) -> p);
        final Component pagina = componente("pagina");
        esperar("pages before the hit", () -> janela.totalPaginas() > 4);

        tecla(pagina, KeyEvent.VK_F, InputEvent.CTRL_DOWN_MASK);
        esperar("Ctrl+F focuses the search field", () -> componente("procurar").isFocusOwner());
        edt(() -> {
            ((JTextField) componente("procurar")).setText("recheado xpto");
            ((JTextField) componente("procurar")).postActionEvent();
        });
        esperar("the first hit", () -> janela.paginaAtual() > 1);
        final int primeira = edt(() -> janela.paginaAtual());
        assertTrue(naPagina(primeira - 1, "XPTO 120"));
        assertEquals(1, (int) edt(() -> janela.marcasMostradas()));

        // Only one hit among the pages ready: F3 comes back to it.
        tecla(pagina, KeyEvent.VK_F3, 0);
        esperar("a second search", () -> ((JLabel) componente("estadoBusca")).getText().startsWith("“recheado xpto”: página"));
        assertEquals(primeira, (int) edt(() -> janela.paginaAtual()));

        resto.countDown();
        esperar("the end", () -> !textoDoCampo().endsWith("…"));
        tecla(pagina, KeyEvent.VK_F3, 0);
        esperar("F3 to the later hit", () -> janela.paginaAtual() > primeira);
        final int ultima = edt(() -> janela.paginaAtual());
        assertTrue(naPagina(ultima - 1, "XPTO 420"));
        tecla(pagina, KeyEvent.VK_F3, InputEvent.SHIFT_DOWN_MASK);
        esperar("Shift+F3 back", () -> janela.paginaAtual() == primeira);
        tecla(pagina, KeyEvent.VK_F3, InputEvent.SHIFT_DOWN_MASK);
        esperar("Shift+F3 from the first hit wraps round to the last", () -> janela.paginaAtual() == ultima);

        edt(() -> {
            ((JTextField) componente("procurar")).setText("NADA ASSIM");
            ((JTextField) componente("procurar")).postActionEvent();
        });
        esperar("not found", () -> ((JLabel) componente("estadoBusca")).getText().contains("não encontrado"));
        assertEquals(ultima, (int) edt(() -> janela.paginaAtual()));
    }

    /** Characters DejaVu Sans lacks reach the preview's pages from the fallback fonts, and are found there. */
    @Test
    void caracteresDeOutrasFontes() throws Exception {
        abrir(sintetico(30, -1, new CountDownLatch(0), (i, v) -> v[colunaDescricao] = "EMOJI 😀 🍕 ⏚ 茶 " + i), (f, p) -> p);
        esperar("the end", () -> !textoDoCampo().endsWith("…"));
        esperar("page 1 drawn", this::paginaDesenhada);
        // The emoji is drawn; PDFBox reads back from these fonts only characters of 16 bits.
        assertTrue(naPagina(0, "⏚ 茶 7"));
        assertFalse(naPagina(0, "?"));
    }

    @Test
    void teclasDeZoom() throws Exception {
        abrir(sintetico(100, -1, new CountDownLatch(0), (i, v) -> {}), (f, p) -> p);
        final Component pagina = componente("pagina");
        final int ctrl = InputEvent.CTRL_DOWN_MASK;
        final int[][] passos = { // key, modifiers, expected zoom
            {KeyEvent.VK_0, ctrl, 100}, {KeyEvent.VK_ADD, ctrl, 125}, {KeyEvent.VK_EQUALS, ctrl | InputEvent.SHIFT_DOWN_MASK, 156},
            {KeyEvent.VK_EQUALS, ctrl, 195}, {KeyEvent.VK_MINUS, ctrl, 156}, {KeyEvent.VK_SUBTRACT, ctrl, 125},
            {KeyEvent.VK_NUMPAD0, ctrl, 100}, {KeyEvent.VK_PLUS, ctrl, 125}};
        for (int[] p : passos) {
            tecla(pagina, p[0], p[1]);
            assertEquals(p[2], Math.round(edt(() -> janela.zoomAtual()) * 100), KeyEvent.getKeyText(p[0]));
            assertEquals(p[2] + "%", edt(() -> ((javax.swing.JButton) componente("zoom100")).getText()), "the button shows it");
        }
    }

    @Test
    void cancelarFechaAJanelaEAvisa() throws Exception {
        abrir(sintetico(LINHAS, 200, new CountDownLatch(1), (i, v) -> {}), (f, p) -> p);
        esperar("pages", () -> janela.totalPaginas() > 0);
        clicar("cancelar");
        esperar("the window closed", () -> !janela.janela().isDisplayable());
        janela.aguardarFechamento();
        assertThrows(Cancelado.class, () -> janela.relatar());
        janela = null;
    }

    @Test
    void faltaDeMemoriaNoMeioDeixaAJanelaUtil() throws Exception {
        abrir(sintetico(LINHAS, -1, new CountDownLatch(0), (i, v) -> {
            if (i == 250) throw new OutOfMemoryError("Java heap space");
        }), (f, p) -> p);
        esperar("one message", () -> janela.ultimoAviso() != null);
        assertTrue(janela.ultimoAviso().startsWith("Memória insuficiente"), janela.ultimoAviso());
        assertTrue(edt(() -> janela.janela().isDisplayable()));
        clicar("ultima");
        final int ultima = edt(() -> janela.paginaAtual());
        assertTrue(ultima > 1);
        esperar("the last page laid out is drawn", this::paginaDesenhada);
        janela.relatar(); // the pages shown were what the user could have: not an error at exit
    }

    @Test
    void falhaDoRelatorioFechaAJanelaEChegaAQuemChamou() throws Exception {
        abrir((destino, progresso) -> {
            throw new ErroRelatorio("Erro ao ler os dados do relatório: conexão perdida");
        }, (f, p) -> p);
        esperar("the window closed", () -> !janela.janela().isDisplayable());
        janela.aguardarFechamento();
        assertEquals("Erro ao ler os dados do relatório: conexão perdida",
                assertThrows(ErroRelatorio.class, () -> janela.relatar()).getMessage());
        janela = null;
    }

    /** A long report turned page by page at 150 % in a JVM with a small heap: every page shows. */
    @Test
    void poucaMemoriaMostraAsPaginas() throws Exception {
        final StringBuilder cp = new StringBuilder();
        for (Class<?> c : new Class<?>[] {JanelaVisualizacao.class, PreviaComPoucaMemoria.class,
            org.apache.pdfbox.pdmodel.PDDocument.class, org.apache.fontbox.ttf.TrueTypeFont.class,
            org.apache.commons.logging.Log.class, org.postgresql.core.Parser.class})
            cp.append(Path.of(c.getProtectionDomain().getCodeSource().getLocation().toURI())).append(':');
        final Process p = new ProcessBuilder(Path.of(System.getProperty("java.home"), "bin", "java").toString(),
                "-Xmx48m", "-Dvisualizador.semDialogos=true", "-cp", cp.toString(),
                PreviaComPoucaMemoria.class.getName(), "12000", "8").redirectErrorStream(true).start();
        final String saida = new String(p.getInputStream().readAllBytes(), java.nio.charset.StandardCharsets.UTF_8);
        assertTrue(p.waitFor(150, TimeUnit.SECONDS));
        assertEquals(0, p.exitValue(), saida);
        assertTrue(saida.contains("páginas desenhadas: 8 de "), saida);
    }

    /** The program against the test database: the preview fills in and Esc ends it with status 0. */
    @Test
    void programaMostraORelatorioDoBanco(@TempDir Path home) throws Exception {
        final visualizador.dados.Ambiente ambiente = visualizador.BancoTeste.ambiente(home);
        final AtomicReference<Integer> status = new AtomicReference<>();
        final Thread t = new Thread(() -> status.set(visualizador.Principal.executar(new String[] {
            visualizador.BancoTeste.SERVICO, visualizador.BancoTeste.relatorio().toString(), "VIS", "N"}, ambiente)));
        t.start();
        final AtomicReference<Frame> aberta = new AtomicReference<>();
        esperar("window shown", () -> {
            for (Frame f : Frame.getFrames())
                if (f.isShowing() && TITULO.equals(f.getTitle())) aberta.set(f);
            return aberta.get() != null;
        });
        esperar("the report's end", () -> {
            final String c = ((JTextField) achar(aberta.get(), "paginaAtual")).getText();
            return c.matches("1 / [1-9][0-9.]*");
        });
        tecla(achar(aberta.get(), "pagina"), KeyEvent.VK_ESCAPE, 0);
        t.join(30_000);
        assertEquals(0, status.get());
    }

    /** As the program uses it: mostrar holds the caller until Esc closes the window. */
    @Test
    void mostrarBloqueiaAteEsc() throws Exception {
        final Thread t = new Thread(() -> {
            try {
                JanelaVisualizacao.mostrar(TITULO, "previa", sintetico(LINHAS, -1, new CountDownLatch(0), (i, v) -> {}),
                        (f, p) -> p);
            } catch (Exception e) {
                throw new IllegalStateException(e);
            }
        });
        t.start();
        final AtomicReference<Frame> aberta = new AtomicReference<>();
        final BooleanSupplier achou = () -> {
            for (Frame f : Frame.getFrames())
                if (f.isShowing() && TITULO.equals(f.getTitle())) aberta.set(f);
            return aberta.get() != null;
        };
        esperar("window shown", achou::getAsBoolean);
        Thread.sleep(300);
        assertTrue(t.isAlive(), "mostrar waits while the window is open");
        tecla(achar(aberta.get(), "pagina"), KeyEvent.VK_ESCAPE, 0);
        t.join(20_000);
        assertFalse(t.isAlive(), "Esc closed the window and mostrar returned");
    }

    @Test
    void salvarComoExecutaDeNovoEMostraOErro() throws Exception {
        final AtomicReference<String> pedido = new AtomicReference<>();
        abrir(sintetico(100, -1, new CountDownLatch(0), (i, v) -> {}), (f, p) -> {
            if (p.endsWith("r.xls")) throw new ErroRelatorio("O relatório tem linhas demais para XLS.");
            pedido.set(f + " " + p.getFileName());
            return p.endsWith("longo.xls") ? p.resolveSibling("longo.xlsx") : p;
        });
        janela.salvar(Formato.PDF, dir.resolve("r.pdf")).get(30, TimeUnit.SECONDS);
        assertEquals("PDF r.pdf", pedido.get());
        janela.salvar(Formato.HTML, dir.resolve("r.html")).get(30, TimeUnit.SECONDS);
        assertEquals("HTML r.html", pedido.get());
        assertNull(janela.ultimoAviso());
        janela.salvar(Formato.XLS, dir.resolve("r.xls")).get(30, TimeUnit.SECONDS);
        assertEquals("O relatório tem linhas demais para XLS.", janela.ultimoAviso());
        janela.salvar(Formato.XLS, dir.resolve("longo.xls")).get(30, TimeUnit.SECONDS);
        assertTrue(janela.ultimoAviso().contains(dir.resolve("longo.xlsx").toString()), janela.ultimoAviso());
        assertEquals(dir.resolve("x.html"), VisualizacaoEscolhaArquivo.comExtensao(dir.resolve("x"), Formato.HTML));
        assertEquals(dir.resolve("x.PDF"), VisualizacaoEscolhaArquivo.comExtensao(dir.resolve("x.PDF"), Formato.PDF));
    }

    // Each toggle closes the preview asking for the report again with the options it now shows.
    @ParameterizedTest(name = "{0}")
    @CsvSource({"somenteTotais, true, true, false", "semEstoqueZerado, false, false, false",
        "paginaPorGrupo, false, true, true"})
    void alternarOpcoesPedeORelatorioDeNovo(String botao, boolean somenteTotais, boolean semEstoqueZerado,
                                            boolean paginaPorGrupo) throws Exception {
        janela = edt(() -> {
            final JanelaVisualizacao j = JanelaVisualizacao.criar(TITULO, "previa",
                    sintetico(100, -1, new CountDownLatch(0), (i, v) -> {}), (f, p) -> p,
                    new JanelaVisualizacao.Opcoes(new OpcoesRelatorio(false, true), true));
            j.janela().setVisible(true);
            return j;
        });
        assertTrue(edt(() -> ((AbstractButton) componente("semEstoqueZerado")).isSelected()));
        clicar(botao);
        janela.aguardarFechamento();
        assertEquals(new OpcoesRelatorio(somenteTotais, semEstoqueZerado, paginaPorGrupo), janela.pedidas());
        assertFalse(edt(() -> janela.janela().isDisplayable()));
    }
}
