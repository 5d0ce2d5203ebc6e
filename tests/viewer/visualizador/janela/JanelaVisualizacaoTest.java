package visualizador.janela;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assumptions.assumeFalse;

import java.awt.Component;
import java.awt.Container;
import java.awt.Frame;
import java.awt.GraphicsEnvironment;
import java.awt.event.KeyEvent;
import java.awt.image.BufferedImage;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.concurrent.Callable;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.atomic.AtomicReference;
import javax.swing.AbstractButton;
import javax.swing.JTextField;
import javax.swing.SwingUtilities;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import org.junit.jupiter.api.io.TempDir;
import visualizador.ErroRelatorio;
import visualizador.Formato;
import visualizador.dados.OpcoesRelatorio;
import visualizador.dados.Progresso;
import visualizador.saida.PdfSintetico;

/** The preview under Xvfb, on a generated report of several pages. */
class JanelaVisualizacaoTest {
    private static final String TITULO = "Relação de Produtos por Endereço";
    @TempDir
    static Path dir;
    private static Path pdf;
    private static int paginas;
    private JanelaVisualizacao janela;

    @BeforeAll
    static void gerar() throws Exception {
        assumeFalse(GraphicsEnvironment.isHeadless(), "needs a display (Xvfb)");
        pdf = dir.resolve("previa.pdf");
        PdfSintetico.gerar(pdf, 500, 10, Progresso.NENHUM);
        try (PDDocument d = PDDocument.load(pdf.toFile())) {
            paginas = d.getNumberOfPages();
        }
        assertTrue(paginas > 5, "a report of several pages");
    }

    @AfterEach
    void fechar() throws Exception {
        if (janela != null) {
            edt(() -> janela.janela().dispose());
            janela.aguardarFechamento();
        }
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

    private static Component achar(Container c, String nome) {
        for (Component filho : c.getComponents()) {
            if (nome.equals(filho.getName())) return filho;
            if (filho instanceof Container sub && achar(sub, nome) != null) return achar(sub, nome);
        }
        return null;
    }

    private JanelaVisualizacao abrir(Exportador exportador) throws Exception {
        janela = edt(() -> {
            final JanelaVisualizacao j = JanelaVisualizacao.criar(pdf, TITULO, "previa", exportador);
            j.janela().setVisible(true);
            return j;
        });
        return janela;
    }

    private String campo() throws Exception {
        return edt(() -> ((JTextField) achar(janela.janela().getContentPane(), "paginaAtual")).getText());
    }

    private void clicar(String nome) throws Exception {
        edt(() -> ((AbstractButton) achar(janela.janela().getContentPane(), nome)).doClick());
    }

    private static void tecla(Component c, int codigo) throws Exception {
        edt(() -> c.dispatchEvent(new KeyEvent(c, KeyEvent.KEY_PRESSED, System.currentTimeMillis(), 0, codigo,
                KeyEvent.CHAR_UNDEFINED)));
    }

    @Test
    void mostraAPrimeiraPaginaENavega() throws Exception {
        abrir((f, p) -> {});
        assertEquals("1 / " + paginas, campo());
        final long limite = System.nanoTime() + TimeUnit.SECONDS.toNanos(30);
        BufferedImage img;
        while ((img = edt(() -> janela.imagemMostrada())) == null && System.nanoTime() < limite) Thread.sleep(50);
        assertTrue(img != null && temTinta(img), "page 1 drawn, not blank");

        clicar("proxima");
        assertEquals("2 / " + paginas, campo());
        clicar("ultima");
        assertEquals(paginas + " / " + paginas, campo());
        assertFalse(edt(() -> achar(janela.janela().getContentPane(), "proxima").isEnabled()));
        edt(() -> {
            final JTextField f = (JTextField) achar(janela.janela().getContentPane(), "paginaAtual");
            f.setText("5");
            f.postActionEvent();
        });
        assertEquals(5, (int) edt(() -> janela.paginaAtual()));
        final Component pagina = achar(janela.janela().getContentPane(), "pagina");
        tecla(pagina, KeyEvent.VK_PAGE_UP);
        assertEquals("4 / " + paginas, campo());
        tecla(pagina, KeyEvent.VK_END);
        assertEquals(paginas, (int) edt(() -> janela.paginaAtual()));
        edt(() -> {
            final JTextField f = (JTextField) achar(janela.janela().getContentPane(), "paginaAtual");
            f.setText(String.valueOf(paginas + 1)); // no such page: stays where it is
            f.postActionEvent();
        });
        assertEquals(paginas + " / " + paginas, campo());
    }

    private static boolean temTinta(BufferedImage img) {
        int escuros = 0;
        for (int y = 0; y < img.getHeight(); y += 2)
            for (int x = 0; x < img.getWidth(); x += 2)
                if ((img.getRGB(x, y) & 0xff) < 128) escuros++;
        return escuros > 100;
    }

    /** As the program uses it: mostrar holds the caller until Esc closes the window. */
    @Test
    void mostrarBloqueiaAteEsc() throws Exception {
        final Thread t = new Thread(() -> JanelaVisualizacao.mostrar(pdf, TITULO, "previa", (f, p) -> {}));
        t.start();
        Frame aberta = null;
        for (int i = 0; i < 300 && aberta == null; i++) {
            Thread.sleep(50);
            for (Frame f : Frame.getFrames())
                if (f.isShowing() && TITULO.equals(f.getTitle())) aberta = f;
        }
        assertTrue(aberta != null, "window shown");
        Thread.sleep(300);
        assertTrue(t.isAlive(), "mostrar waits while the window is open");
        tecla(achar(aberta, "pagina"), KeyEvent.VK_ESCAPE);
        t.join(20_000);
        assertFalse(t.isAlive(), "Esc closed the window and mostrar returned");
    }

    @Test
    void salvarComoCopiaOuExportaEMostraOErro() throws Exception {
        final AtomicReference<String> pedido = new AtomicReference<>();
        abrir((f, p) -> {
            if (f == Formato.XLS) throw new ErroRelatorio("O relatório tem linhas demais para XLS.");
            pedido.set(f + " " + p.getFileName());
        });
        final Path copia = dir.resolve("copia.pdf");
        janela.salvar(Formato.PDF, copia).get(30, TimeUnit.SECONDS);
        assertArrayEquals(Files.readAllBytes(pdf), Files.readAllBytes(copia));
        janela.salvar(Formato.HTML, dir.resolve("r.html")).get(30, TimeUnit.SECONDS);
        assertEquals("HTML r.html", pedido.get());
        assertNull(janela.ultimoAviso());
        janela.salvar(Formato.XLS, dir.resolve("r.xls")).get(30, TimeUnit.SECONDS);
        assertEquals("O relatório tem linhas demais para XLS.", janela.ultimoAviso());
        assertEquals(dir.resolve("x.html"), VisualizacaoEscolhaArquivo.comExtensao(dir.resolve("x"), Formato.HTML));
        assertEquals(dir.resolve("x.PDF"), VisualizacaoEscolhaArquivo.comExtensao(dir.resolve("x.PDF"), Formato.PDF));
    }

    // Each toggle closes the preview asking for the report again with the options it now shows.
    @ParameterizedTest(name = "{0}")
    @CsvSource({"somenteTotais, true, true", "semEstoqueZerado, false, false"})
    void alternarOpcoesPedeORelatorioDeNovo(String botao, boolean somenteTotais, boolean semEstoqueZerado)
            throws Exception {
        janela = edt(() -> {
            final JanelaVisualizacao j = JanelaVisualizacao.criar(pdf, TITULO, "previa", (f, p) -> {},
                    new JanelaVisualizacao.Opcoes(new OpcoesRelatorio(false, true), true));
            j.janela().setVisible(true);
            return j;
        });
        assertTrue(edt(() -> ((AbstractButton) achar(janela.janela().getContentPane(), "semEstoqueZerado")).isSelected()));
        clicar(botao);
        janela.aguardarFechamento();
        assertEquals(new OpcoesRelatorio(somenteTotais, semEstoqueZerado), janela.pedidas());
        assertFalse(edt(() -> janela.janela().isDisplayable()));
    }
}
