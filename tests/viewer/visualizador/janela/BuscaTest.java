package visualizador.janela;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNotNull;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.awt.geom.Rectangle2D;
import java.io.IOException;
import java.nio.ByteBuffer;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.PosixFilePermissions;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.concurrent.BlockingQueue;
import java.util.concurrent.LinkedBlockingQueue;
import java.util.concurrent.TimeUnit;
import javax.swing.SwingUtilities;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.pdmodel.PDPage;
import org.junit.jupiter.api.AfterAll;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.dados.Progresso;
import visualizador.formatos.DestinoPdf;
import visualizador.formatos.IndiceTexto;
import visualizador.formatos.PdfSintetico;
import visualizador.formatos.TextoPorPagina;
import visualizador.publicacao.PastaRascunho;

/** The preview's search: the pages' recorded text against the text PDFBox reads from them. */
class BuscaTest {
    private static final int LINHAS = 600;
    private static final String EMOJI = "EMOJI 😀 NO NOME";
    private static DestinoPdf destino;
    private static PaginasRenderizadas paginas;
    private static int total;

    @BeforeAll
    static void gerar() throws Exception {
        destino = previa();
        final int descricao = PdfSintetico.coluna("prodes");
        PdfSintetico.escrever(destino, LINHAS, 10, (i, v) -> {
            if (i == 0) v[descricao] = "PRIMEIRA LINHA ÚNICA";
            if (i == LINHAS - 1) v[descricao] = "DERRADEIRA LINHA ÚNICA";
            if (i == 130 || i == 131 || i == 420) v[descricao] = "BISCOITO RECHEADO XPTO " + i;
            if (i == 250) v[descricao] = EMOJI;
            if (i == 300) v[descricao] = "Ação Çedilha Mista";
        });
        destino.close();
        total = destino.documento().getNumberOfPages();
        paginas = new PaginasRenderizadas(destino.documento(), () -> {});
        paginas.prontas(total);
    }

    /** A preview's destination that nobody watches. */
    private static DestinoPdf previa() throws IOException {
        return DestinoPdf.paraVisualizar(Progresso.NENHUM, new DestinoPdf.PaginasProntas() {
            @Override
            public void prontas(int n) {}

            @Override
            public void numeradas(int n) {}
        });
    }

    @AfterAll
    static void liberar() throws Exception {
        if (paginas != null) paginas.fechar();
        if (destino != null) destino.liberar();
    }

    private static List<Integer> paginasNoPdf(String texto) throws IOException {
        final List<Integer> r = new ArrayList<>();
        for (int p = 0; p < total; p++)
            if (!TextoDaPagina.ocorrencias(destino.documento(), p, texto).isEmpty()) r.add(p);
        return r;
    }

    private static List<Integer> paginasNoIndice(String texto) throws IOException {
        final VarreduraTexto v = new VarreduraTexto(destino.indiceDeTexto());
        final List<Integer> r = new ArrayList<>();
        for (int p = 0; p < total; p++)
            if (v.contem(p, IndiceTexto.comparavel(texto))) r.add(p);
        return r;
    }

    @ParameterizedTest(name = "{0}")
    @CsvSource(delimiter = '|', textBlock = """
            biscoito recheado xpto | true
            RECHEADO Xpto 4        | true
            primeira linha única   | true
            derradeira linha única | true
            feijão preto           | true
            FEIJÃO PRETO TRADICIONAL TIO JOÃO 1KG REF-00 | true
            ação çedilha mista     | true
            AÇÃO ÇEDILHA           | true
            acao cedilha           | false
            relação de produtos    | true
            (continuação)          | true
            nível 2: 10 linhas     | true
            tio joão 0,1           | true
            total geral            | true
            5kg … ref-00           | true
            nada assim             | false
            """)
    void oTextoGravadoAchaAsMesmasPaginasQueOPdf(String texto, boolean achar) throws Exception {
        final List<Integer> noPdf = paginasNoPdf(texto);
        assertEquals(achar, !noPdf.isEmpty(), "pages with the text in the PDF: " + noPdf);
        assertEquals(noPdf, paginasNoIndice(texto));
    }

    /** The first and last lines land on the first and last pages: the ends are searched too. */
    @Test
    void primeiraEUltimaPaginas() throws Exception {
        assertEquals(List.of(0), paginasNoIndice("primeira linha única"));
        assertEquals(List.of(total - 1), paginasNoIndice("DERRADEIRA linha"));
        assertEquals(total, destino.indiceDeTexto().paginas());
    }

    /** PDFBox does not read characters beyond 16 bits back from the fallback fonts; the recorded text has them. */
    @Test
    void emojiAchadoNaPaginaDaLinha() throws Exception {
        final List<Integer> daLinha = paginasNoPdf("no nome");
        assertEquals(1, daLinha.size());
        assertEquals(daLinha, paginasNoIndice(EMOJI));
        assertEquals(daLinha, paginasNoIndice("emoji 😀"));
        assertEquals(List.of(), paginasNoIndice("emoji 😁"));

        final Busca.Resultado r = Sessao.nova().procurar("😀 no", 0, true);
        assertEquals(daLinha.get(0), r.pagina());
        assertNull(r.caixa(), "the PDF text cannot place it: the page is shown unmarked");
    }

    /** Every hit PDFBox finds, in order, forwards then backwards, each wrapping round to the start. */
    @Test
    void percorreOsAchadosNasDuasDirecoesDandoAVolta() throws Exception {
        final String texto = "biscoito recheado";
        final List<Integer> paginasDosAchados = new ArrayList<>();
        final List<Rectangle2D.Float> caixas = new ArrayList<>();
        for (int p = 0; p < total; p++)
            for (Rectangle2D.Float c : TextoDaPagina.ocorrencias(destino.documento(), p, texto)) {
                paginasDosAchados.add(p);
                caixas.add(c);
            }
        final int n = caixas.size();
        assertEquals(3, n);

        final Sessao s = Sessao.nova();
        for (int k = 0; k <= n; k++) { // once round and back to the first
            final Busca.Resultado r = s.procurar(texto, s.atual, true);
            assertEquals(paginasDosAchados.get(k % n), r.pagina(), "forward hit " + k);
            assertEquals(caixas.get(k % n), r.caixa());
        }
        for (int k = n - 1; k >= -1; k--) { // back past the first, round to the last
            final Busca.Resultado r = s.procurar(texto, s.atual, false);
            assertEquals(paginasDosAchados.get((k + n) % n), r.pagina(), "backward hit " + k);
            assertEquals(caixas.get((k + n) % n), r.caixa());
        }
        assertEquals(Busca.NAO_ACHADO, s.procurar("nada assim", s.atual, true).pagina());
        assertEquals(Busca.NAO_ACHADO, s.procurar("nada assim", s.atual, false).pagina());
    }

    /** A search of a few pages finds nothing beyond them: what is not ready yet is not looked at. */
    @Test
    void procuraSoNasPaginasProntas() throws Exception {
        final int ultima = paginasNoIndice("derradeira linha").get(0);
        final Sessao s = Sessao.nova();
        assertEquals(Busca.NAO_ACHADO, s.procurar("derradeira linha", 0, true, ultima).pagina());
        assertEquals(ultima, s.procurar("derradeira linha", 0, true, total).pagina());
    }

    /**
     * The recorded text is a file made in the process's private scratch folder, held open (on
     * Linux without a name from the start) and let go, space and all, when the preview is released.
     */
    @Test
    void arquivoNaPastaDeRascunhoELiberadoComAPrevia() throws Exception {
        final PastaRascunho pasta = PastaRascunho.doProcesso();
        final DestinoPdf d = previa();
        final Path arquivo;
        try {
            PdfSintetico.escrever(d, 50, 10, (i, v) -> {});
            d.close();
            arquivo = d.indiceDeTexto().arquivo();
            assertNotNull(arquivo);
            assertEquals(pasta.pasta(), arquivo.getParent());
            assertEquals("rwx------", PosixFilePermissions.toString(Files.getPosixFilePermissions(pasta.pasta())));
            assertTrue(aberto(arquivo));
        } finally {
            d.liberar();
        }
        assertFalse(aberto(arquivo));
        assertFalse(Files.exists(arquivo));
    }

    /** Whether this process holds the file open (by its name, or its name before it was unlinked). */
    private static boolean aberto(Path arquivo) throws IOException {
        try (var fds = Files.list(Path.of("/proc/self/fd"))) {
            return fds.anyMatch(fd -> {
                try {
                    return Files.readSymbolicLink(fd).toString().startsWith(arquivo.toString());
                } catch (IOException e) {
                    return false; // closed meanwhile (the listing's own descriptor)
                }
            });
        }
    }

    /**
     * A search through a very large text (a billion bytes without the text) shows progress and
     * stops soon after Esc: the next search, queued behind it, answers long before the whole text
     * could have been read.
     */
    @Test
    void cancelarParaUmaBuscaLonga() throws Exception {
        final Enorme texto = new Enorme(5_000_000, 200);
        try (PDDocument doc = new PDDocument()) {
            doc.addPage(new PDPage());
            final PaginasRenderizadas uma = new PaginasRenderizadas(doc, () -> {});
            uma.prontas(1);
            final BlockingQueue<Busca.Resultado> respostas = new LinkedBlockingQueue<>();
            final BlockingQueue<Busca.Andamento> andamentos = new LinkedBlockingQueue<>();
            final Busca busca = new Busca(uma, texto, respostas::add, andamentos::add);
            try {
                SwingUtilities.invokeAndWait(() -> busca.procurar("zzz", 0, true, texto.paginas()));
                final Busca.Andamento a = andamentos.poll(30, TimeUnit.SECONDS);
                assertNotNull(a, "a long search shows where it is");
                assertEquals(texto.paginas(), a.total());
                final boolean[] cancelou = new boolean[1];
                SwingUtilities.invokeAndWait(() -> cancelou[0] = busca.cancelar());
                assertTrue(cancelou[0]);
                final long lidosAoCancelar = texto.lidos;
                assertEquals(Busca.CANCELADA, respostas.take().pagina());
                SwingUtilities.invokeAndWait(() -> assertFalse(busca.cancelar(), "nothing left to cancel"));

                // Queued behind the cancelled one: it answers only once that has stopped.
                texto.paginas = 2;
                SwingUtilities.invokeAndWait(() -> busca.procurar("outro", 0, true, 2));
                final Busca.Resultado r = respostas.poll(10, TimeUnit.SECONDS);
                assertNotNull(r, "the cancelled search went on reading");
                assertEquals(Busca.NAO_ACHADO, r.pagina());
                assertTrue(texto.lidos - lidosAoCancelar < 200_000_000L,
                        "read after Esc: " + (texto.lidos - lidosAoCancelar) + " bytes");
            } finally {
                busca.parar();
                uma.fechar();
            }
        }
    }

    /** A search session as the window runs it: on the event thread, one answer at a time. */
    private static final class Sessao {
        private final BlockingQueue<Busca.Resultado> respostas = new LinkedBlockingQueue<>();
        private final Busca busca = new Busca(paginas, destino.indiceDeTexto(), respostas::add, a -> {});
        int atual;

        static Sessao nova() {
            return new Sessao();
        }

        Busca.Resultado procurar(String texto, int de, boolean adiante) throws Exception {
            return procurar(texto, de, adiante, total);
        }

        Busca.Resultado procurar(String texto, int de, boolean adiante, int prontas) throws Exception {
            SwingUtilities.invokeAndWait(() -> busca.procurar(texto, de, adiante, prontas));
            final Busca.Resultado r = respostas.poll(30, TimeUnit.SECONDS);
            assertNotNull(r, "no answer to " + texto);
            assertNull(r.erro());
            if (r.pagina() >= 0) atual = r.pagina();
            return r;
        }
    }

    /** Many pages of the same text, made up as they are read. */
    private static final class Enorme implements TextoPorPagina {
        private final int tamanho;
        volatile int paginas;
        volatile long lidos;

        Enorme(int paginas, int tamanho) {
            this.paginas = paginas;
            this.tamanho = tamanho;
        }

        @Override
        public int paginas() {
            return paginas;
        }

        @Override
        public long inicio(int p) {
            return (long) p * tamanho;
        }

        @Override
        public long fim(int p) {
            return (long) (p + 1) * tamanho;
        }

        @Override
        public void ler(long posicao, ByteBuffer destino) {
            final int n = destino.remaining();
            final byte[] a = new byte[n];
            Arrays.fill(a, (byte) 'a');
            destino.put(a);
            lidos += n;
        }

        @Override
        public IOException falha() {
            return null;
        }
    }
}
