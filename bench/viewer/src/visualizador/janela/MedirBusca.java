package visualizador.janela;

import java.nio.ByteBuffer;
import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.Locale;
import java.util.concurrent.BlockingQueue;
import java.util.concurrent.LinkedBlockingQueue;
import java.util.concurrent.TimeUnit;
import javax.swing.SwingUtilities;
import visualizador.dados.Ambiente;
import visualizador.dados.Conexao;
import visualizador.dados.MotorRelatorio;
import visualizador.dados.Progresso;
import visualizador.dados.ValoresParametros;
import visualizador.design.Design;
import visualizador.design.LeitorDesign;
import visualizador.formatos.DestinoPdf;
import visualizador.formatos.IndiceTexto;

/**
 * The preview's search on a whole report laid out as the preview lays it out (no window): how
 * long F3 and Shift+F3 take to a hit far from the page shown, round the whole report and to "not
 * found", against the bare scan of the recorded text and the PDF text read page by page as the
 * search did before (timed on a bounded number of pages, scaled to the pages that search needs).
 * Interleaved repetitions, medians. Usage: MedirBusca SERVICE REPORT_PATH_WITHOUT_EXTENSION [REPS] [PAGE]
 */
public final class MedirBusca {
    private static final int PAGINAS_PDF = 200; // pages timed of the search through the PDF text

    public static void main(String[] args) throws Exception {
        final int reps = args.length > 2 ? Integer.parseInt(args[2]) : 5;
        final int paginaAlvo = args.length > 3 ? Integer.parseInt(args[3]) - 1 : 3501;
        final Design design = LeitorDesign.lerRelatorio(Path.of(args[1]));
        final ValoresParametros valores = ValoresParametros.analisar(design, List.of());
        final DestinoPdf destino = DestinoPdf.paraVisualizar(Progresso.NENHUM, new DestinoPdf.PaginasProntas() {
            @Override
            public void prontas(int n) {}

            @Override
            public void numeradas(int n) {}
        });
        final long t0 = System.nanoTime();
        try (Conexao c = Conexao.abrir(args[0], Ambiente.doProcesso())) {
            new MotorRelatorio(c, design, valores).executar(destino, Progresso.NENHUM);
        }
        destino.close();
        final double layout = (System.nanoTime() - t0) / 1e9;
        final IndiceTexto indice = destino.indiceDeTexto();
        final int n = indice.paginas();
        final PaginasRenderizadas paginas = new PaginasRenderizadas(destino.documento(), () -> {});
        paginas.prontas(n);
        final int alvo = Math.min(paginaAlvo, n - 1);
        final String texto = unicoNaPagina(indice, alvo, n);
        final String emoji = "emoji 😀 no nome";
        final int paginaEmoji = new VarreduraTexto(indice).procurar(IndiceTexto.comparavel(emoji), 0, n, true, n, p -> true);
        System.out.printf(Locale.ROOT, "report laid out for the preview in %.1f s: %,d pages, recorded text %,d bytes "
                + "(%.0f bytes a page), heap in use %.0f MB%n", layout, n, indice.fim(n - 1), (double) indice.fim(n - 1) / n,
                (Runtime.getRuntime().totalMemory() - Runtime.getRuntime().freeMemory()) / 1e6);
        System.out.printf("target: \"%s\", only on page %,d; emoji line on page %,d%n", texto, alvo + 1, paginaEmoji + 1);

        final String[] nomes = {"F3, page 1 to the hit", "Shift+F3, page 1 back (wrapping) to the hit",
            "F3 from the hit round the whole report to it", "not found (every page)", "emoji, F3 from page 1",
            "bare scan of the recorded text, every page", "PDF text, page by page (as before), per page"};
        final List<List<Double>> tempos = new ArrayList<>();
        for (String ignorado : nomes) tempos.add(new ArrayList<>());
        for (int r = -1; r < reps; r++) { // the first round warms up
            final List<Double> t = new ArrayList<>();
            final Sessao s = new Sessao(paginas, indice);
            t.add(s.medir(texto, 0, true, n, alvo));
            t.add(new Sessao(paginas, indice).medir(texto, 0, false, n, alvo));
            t.add(s.medir(texto, alvo, true, n, alvo)); // the same text again: the next hit is itself
            t.add(new Sessao(paginas, indice).medir("nada assim xyzzy", 0, true, n, Busca.NAO_ACHADO));
            t.add(paginaEmoji < 0 ? Double.NaN : new Sessao(paginas, indice).medir(emoji, 0, true, n, paginaEmoji));
            final long v0 = System.nanoTime();
            new VarreduraTexto(indice).procurar(IndiceTexto.comparavel("nada assim xyzzy"), 0, n, true, n, p -> true);
            t.add((System.nanoTime() - v0) / 1e9);
            final long p0 = System.nanoTime();
            final int base = (r + 1) * PAGINAS_PDF % Math.max(1, n - PAGINAS_PDF);
            for (int p = base; p < base + Math.min(PAGINAS_PDF, n); p++)
                TextoDaPagina.ocorrencias(destino.documento(), p, "nada assim xyzzy");
            t.add((System.nanoTime() - p0) / 1e9 / Math.min(PAGINAS_PDF, n));
            if (r >= 0) for (int i = 0; i < t.size(); i++) tempos.get(i).add(t.get(i));
        }
        final double porPagina = mediana(tempos.get(6));
        System.out.println();
        System.out.println("| Search (" + String.format("%,d", n) + " pages) | time, median of " + reps + " |");
        System.out.println("|---|---:|");
        for (int i = 0; i < nomes.length - 1; i++)
            System.out.printf(Locale.ROOT, "| %s | %.3f s |%n", nomes[i], mediana(tempos.get(i)));
        System.out.printf(Locale.ROOT, "| %s | %.2f ms (%d pages) |%n", nomes[6], porPagina * 1e3, PAGINAS_PDF);
        System.out.printf(Locale.ROOT, "| as before, F3 to page %,d: %,d pages of PDF text | %.1f s |%n", alvo + 1, alvo + 1,
                porPagina * (alvo + 1));
        System.out.printf(Locale.ROOT, "| as before, Shift+F3 to page %,d: %,d pages | %.1f s |%n", alvo + 1, n - alvo + 1,
                porPagina * (n - alvo + 1));
        System.out.printf(Locale.ROOT, "| as before, not found: %,d pages | %.1f s |%n", n + 1, porPagina * (n + 1));
        paginas.fechar();
        destino.liberar();
        System.exit(0);
    }

    /** A slice of the page's text that no other page holds. */
    private static String unicoNaPagina(IndiceTexto indice, int p, int n) throws Exception {
        final ByteBuffer b = ByteBuffer.allocate((int) (indice.fim(p) - indice.inicio(p)));
        indice.ler(indice.inicio(p), b);
        final String pagina = new String(b.array(), StandardCharsets.UTF_8);
        final VarreduraTexto v = new VarreduraTexto(indice);
        for (int de = pagina.length() / 2; de + 30 < pagina.length(); de += 37) {
            final String s = pagina.substring(de, de + 30).strip();
            final byte[] padrao = IndiceTexto.comparavel(s);
            if (v.procurar(padrao, 0, n, true, n, x -> true) == p
                    && v.procurar(padrao, (p + 1) % n, n - 1, true, n, x -> true) < 0) return s;
        }
        throw new IllegalStateException("no text unique to page " + (p + 1));
    }

    private static double mediana(List<Double> l) {
        final double[] a = l.stream().mapToDouble(Double::doubleValue).toArray();
        Arrays.sort(a);
        return a.length % 2 == 1 ? a[a.length / 2] : (a[a.length / 2 - 1] + a[a.length / 2]) / 2;
    }

    /** Searches as the window does: asked on the event thread, answered there. */
    private static final class Sessao {
        private final BlockingQueue<Busca.Resultado> respostas = new LinkedBlockingQueue<>();
        private final Busca busca;

        Sessao(PaginasRenderizadas paginas, IndiceTexto indice) {
            busca = new Busca(paginas, indice, respostas::add, a -> {});
        }

        double medir(String texto, int de, boolean adiante, int total, int esperada) throws Exception {
            final long t0 = System.nanoTime();
            SwingUtilities.invokeAndWait(() -> busca.procurar(texto, de, adiante, total));
            final Busca.Resultado r = respostas.poll(120, TimeUnit.SECONDS);
            final double s = (System.nanoTime() - t0) / 1e9;
            if (r == null || r.pagina() != esperada)
                throw new IllegalStateException("\"" + texto + "\": expected page " + esperada + ", got " + r);
            return s;
        }
    }
}
