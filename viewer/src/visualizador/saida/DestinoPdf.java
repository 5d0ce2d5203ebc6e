package visualizador.saida;

import java.io.BufferedOutputStream;
import java.io.IOException;
import java.io.OutputStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.List;
import org.apache.pdfbox.cos.COSArray;
import org.apache.pdfbox.cos.COSBase;
import org.apache.pdfbox.cos.COSName;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.pdmodel.PDPage;
import org.apache.pdfbox.pdmodel.PDResources;
import org.apache.pdfbox.pdmodel.common.PDRectangle;
import visualizador.dados.Progresso;
import visualizador.design.Alinhamento;
import visualizador.design.Coluna;
import visualizador.design.TipoColuna;

/**
 * The report as an A4 landscape PDF: on every page the header (title, filters, choices, moment of
 * issue, column titles) and "Página N de M"; in the body group headers, detail lines, subtotals
 * and the grand total. Page contents go to a scratch file as each page fills, so memory holds only
 * the page objects; the file is written by {@link #close()} and only after {@link #fim}.
 */
public final class DestinoPdf implements Destino {
    static final Path FONTE = Path.of("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    static final Path FONTE_NEGRITO = Path.of("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf");

    private static final float LARGURA = PDRectangle.A4.getHeight();
    private static final float ALTURA = PDRectangle.A4.getWidth();
    private static final float MARGEM = 28;
    private static final float UTIL = LARGURA - 2 * MARGEM;
    private static final float CORPO = 7;
    private static final float LINHA = 10;
    private static final float FOLGA = 1.5f; // blank on each side of a cell
    private static final float ESPACO_GRUPO = 4;
    private static final float MENOR_FONTE = 3; // a number is made smaller, never cut
    private static final float RODAPE = MARGEM + 2;
    private static final float TRACO_RODAPE = MARGEM + 11;
    private static final float LIMITE = TRACO_RODAPE + 8; // lowest baseline of the body

    private final Path arquivo;
    private final Progresso progresso;
    private final PDDocument doc;
    private final FontePdf normal;
    private final FontePdf negrito;
    private final PDResources recursos = new PDResources();
    private final PaginaPdf conteudo = new PaginaPdf();
    private final RascunhoPdf rascunho;

    private List<Coluna> colunas;
    private float[] x; // left edge of each column
    private float[] largura;
    private final CelulaPdf celula = new CelulaPdf();
    private int primeiraTotal; // the subtotal's label spans the columns before it
    private byte[] cabecalhoPagina;
    private float topoCorpo;
    private String tituloRodape;

    private PDPage pagina;
    private int paginas;
    private float y; // baseline of the next body line
    private boolean topo; // nothing written yet in this page's body
    private boolean concluido;
    private boolean fechado;

    // The preview's hook: set, nothing is saved, and finished pages are handed over as they come.
    private PaginasProntas ouvinte;

    /**
     * Told of a preview's pages as they finish. Whoever reads the document does so only while
     * holding the document's own monitor, as the layout does when it adds or finishes a page.
     */
    public interface PaginasProntas {
        /** Pages 0 … {@code prontas} − 1 are finished and may be drawn. */
        void prontas(int prontas);

        /** The report ended: all {@code total} pages now carry "Página N de M". */
        void numeradas(int total);
    }

    /**
     * A PDF laid out for the preview: never saved, and its document stays open after {@link #close()}
     * until {@link #liberar()}, so the pages can be shown for as long as the window is open.
     */
    public static DestinoPdf paraVisualizar(Progresso progresso, PaginasProntas ouvinte) throws IOException {
        final DestinoPdf d = new DestinoPdf(null, progresso);
        d.ouvinte = ouvinte;
        return d;
    }

    /** The document being built (see {@link PaginasProntas} on reading it). */
    public PDDocument documento() {
        return doc;
    }

    /** Closes the preview's document and its scratch. */
    public void liberar() throws IOException {
        synchronized (doc) {
            fechado = true;
            try (rascunho) {
                doc.close();
            }
        }
    }

    public DestinoPdf(Path arquivo, Progresso progresso) throws IOException {
        this.arquivo = arquivo;
        this.progresso = progresso;
        doc = new PDDocument(PastaRascunho.doProcesso().memoriaPdf(0));
        try {
            normal = new FontePdf(doc, FONTE, "F1");
            negrito = new FontePdf(doc, FONTE_NEGRITO, "F2");
            rascunho = new RascunhoPdf();
        } catch (IOException | RuntimeException e) {
            doc.close();
            throw e;
        }
        recursos.put(COSName.getPDFName(normal.nome), normal.pd);
        recursos.put(COSName.getPDFName(negrito.nome), negrito.pd);
    }

    @Override
    public void inicio(Cabecalho cabecalho) throws IOException {
        colunas = cabecalho.colunas();
        final int n = colunas.size();
        x = new float[n];
        largura = new float[n];
        float soma = 0;
        for (Coluna c : colunas) soma += c.largura();
        // A design wider than the page is narrowed to fit; a narrower one is centred.
        final float fator = soma > UTIL ? UTIL / soma : 1;
        float esquerda = MARGEM + Math.max(0, (UTIL - soma) / 2);
        primeiraTotal = n;
        for (int i = 0; i < n; i++) {
            x[i] = esquerda;
            largura[i] = colunas.get(i).largura() * fator;
            esquerda += largura[i];
            if (colunas.get(i).total() && primeiraTotal == n) primeiraTotal = i;
        }
        tituloRodape = cabecalho.titulo();
        cabecalhoPagina = montarCabecalho(cabecalho);
        novaPagina();
    }

    @Override
    public void inicioGrupo(String titulo) throws IOException {
        if (!topo) y -= ESPACO_GRUPO;
        if (y - LINHA < LIMITE) novaPagina(); // never a group header alone at the foot of a page
        conteudo.abrirTexto();
        celula(negrito, CORPO, titulo, x[0], fimDasColunas() - x[0], Alinhamento.ESQUERDA, false, y);
        conteudo.fecharTexto();
        avancar(LINHA);
    }

    @Override
    public void linha(Object[] valores) throws IOException {
        if (y < LIMITE) novaPagina();
        conteudo.abrirTexto();
        for (int i = 0; i < x.length; i++) {
            final Coluna c = colunas.get(i);
            celula(normal, CORPO, celula.texto(c, valores[i]), x[i], largura[i], c.alinhamento(),
                    c.tipo() != TipoColuna.TEXTO, y);
        }
        conteudo.fecharTexto();
        avancar(LINHA);
    }

    @Override
    public void fimGrupo(String titulo, Totais totais) throws IOException {
        if (y < LIMITE) novaPagina();
        conteudo.traco(x[0], fimDasColunas(), y + CORPO + 0.5f, 0.3f, 0.6f);
        linhaTotal("Total " + titulo, totais);
    }

    @Override
    public void fim(Totais totais) throws IOException {
        if (pagina == null) throw new IllegalStateException("fim sem inicio");
        if (totais.linhas() == 0) {
            conteudo.abrirTexto();
            celula(normal, 9, Formatos.NENHUM_REGISTRO, x[0], fimDasColunas() - x[0], Alinhamento.ESQUERDA, false,
                    topoCorpo - 4);
            conteudo.fecharTexto();
        } else {
            if (!topo) y -= ESPACO_GRUPO;
            if (y < LIMITE) novaPagina();
            conteudo.traco(x[0], fimDasColunas(), y + CORPO + 1, 0.8f, 0);
            linhaTotal("Total geral", totais);
        }
        synchronized (doc) {
            encerrarPagina();
        }
        if (ouvinte != null) ouvinte.prontas(paginas);
        numerarPaginas();
        concluido = true;
        if (ouvinte != null) ouvinte.numeradas(paginas);
    }

    /** Saves the file when the report was completed; otherwise leaves none behind. */
    @Override
    public void close() throws IOException {
        if (fechado || ouvinte != null) return;
        fechado = true;
        try (PDDocument d = doc; rascunho) {
            if (!concluido) return;
            // The document subsets only fonts set through its own content streams: these are ours.
            normal.pd.subset();
            negrito.pd.subset();
            try (OutputStream out = new BufferedOutputStream(Files.newOutputStream(arquivo), 1 << 16)) {
                d.save(out);
            } catch (IOException | RuntimeException e) {
                Files.deleteIfExists(arquivo);
                throw e;
            }
        }
    }

    private void avancar(float altura) {
        y -= altura;
        topo = false;
    }

    private float fimDasColunas() {
        return x[x.length - 1] + largura[largura.length - 1];
    }

    /** The bold closing line of a group or of the report: label with line count, then the sums. */
    private void linhaTotal(String rotulo, Totais totais) {
        final String sufixo = ": " + Formatos.linhas(totais.linhas());
        final float fimRotulo = primeiraTotal < x.length ? x[primeiraTotal] : fimDasColunas();
        conteudo.abrirTexto();
        final float cabe = (fimRotulo - x[0] - 2 * FOLGA) * 1000 / CORPO;
        final float wSufixo = negrito.largura(sufixo);
        if (negrito.largura(rotulo) + wSufixo <= cabe || wSufixo > cabe / 2) {
            celula(negrito, CORPO, rotulo + sufixo, x[0], fimRotulo - x[0], Alinhamento.ESQUERDA, false, y);
        } else {
            // The description gives way, the count always shows.
            final int fim = negrito.caber(rotulo, cabe - wSufixo - negrito.largura(FontePdf.RETICENCIAS));
            conteudo.fonte(negrito, CORPO);
            conteudo.posicionar(x[0] + FOLGA, y);
            conteudo.mostrar(negrito, rotulo, fim, true);
            conteudo.mostrar(negrito, sufixo, sufixo.length(), false);
        }
        for (int i = 0; i < x.length; i++) {
            if (totais.soma(i) == null) continue;
            final Coluna c = colunas.get(i);
            celula(negrito, CORPO, celula.numero(totais.soma(i), c.casas()), x[i], largura[i], c.alinhamento(), true, y);
        }
        conteudo.fecharTexto();
        avancar(LINHA);
    }

    /**
     * One cell inside an open text object: aligned in its column, and never wider than it. Text
     * is cut with "…"; a number or date is set smaller instead, since a cut one would read wrong.
     */
    private void celula(FontePdf f, float tamanho, CharSequence s, float esquerda, float larguraColuna,
                        Alinhamento al, boolean encolher, float base) {
        if (s == null || s.isEmpty()) return;
        final float cabe = larguraColuna - 2 * FOLGA;
        float w = f.largura(s, cabe * 1000 / tamanho) * tamanho / 1000;
        float t = tamanho;
        int fim = s.length();
        boolean cortado = false;
        if (w > cabe) {
            final float inteira = encolher ? f.largura(s) * tamanho / 1000 : 0;
            if (encolher && tamanho * cabe / inteira >= MENOR_FONTE) {
                t = tamanho * cabe / inteira;
            } else {
                fim = Math.max(0, f.caber(s, cabe * 1000 / tamanho - f.largura(FontePdf.RETICENCIAS)));
                cortado = true;
                al = Alinhamento.ESQUERDA;
            }
            w = cabe;
        }
        final float posicao = switch (al) {
            case ESQUERDA -> esquerda + FOLGA;
            case DIREITA -> esquerda + larguraColuna - FOLGA - w;
            case CENTRO -> esquerda + (larguraColuna - w) / 2;
        };
        conteudo.fonte(f, t);
        conteudo.posicionar(posicao, base);
        conteudo.mostrar(f, s, fim, cortado);
    }

    /** The operators shared by every page: header, column titles and the fixed part of the footer. */
    private byte[] montarCabecalho(Cabecalho c) {
        conteudo.reiniciar();
        final float direita = MARGEM + UTIL;
        float base = ALTURA - MARGEM - 10;
        final String emitido = c.emitidoEm();
        final float wEmitido = normal.largura(emitido) * CORPO / 1000;
        conteudo.abrirTexto();
        celula(negrito, 12, c.titulo(), MARGEM, UTIL - wEmitido - 12, Alinhamento.ESQUERDA, false, base);
        celula(normal, CORPO, emitido, direita - wEmitido - 2 * FOLGA, wEmitido + 2 * FOLGA, Alinhamento.DIREITA, false,
                base);
        base -= 12;
        for (String linha : linhasFiltro(String.join(" · ", c.filtros()), 7.5f)) {
            celula(normal, 7.5f, linha, MARGEM, UTIL, Alinhamento.ESQUERDA, false, base);
            base -= 9.5f;
        }
        celula(normal, 7.5f, c.escolhas(), MARGEM, UTIL, Alinhamento.ESQUERDA, false, base);
        conteudo.fecharTexto();
        base -= 5;
        conteudo.traco(MARGEM, direita, base, 0.6f, 0);
        base -= 9;
        conteudo.abrirTexto();
        for (int i = 0; i < x.length; i++)
            celula(negrito, CORPO, colunas.get(i).titulo(), x[i], largura[i], colunas.get(i).alinhamento(), true, base);
        conteudo.fecharTexto();
        base -= 3.5f;
        conteudo.traco(MARGEM, direita, base, 0.4f, 0);
        topoCorpo = base - 9;

        conteudo.traco(MARGEM, direita, TRACO_RODAPE, 0.4f, 0);
        conteudo.abrirTexto();
        celula(normal, CORPO, tituloRodape, MARGEM, UTIL / 2, Alinhamento.ESQUERDA, false, RODAPE);
        conteudo.fecharTexto();
        return conteudo.copia();
    }

    /** The filters on one line, or two broken at a separator or blank; what is left over is cut. */
    private String[] linhasFiltro(String filtros, float tamanho) {
        final float cabe = (UTIL - 2 * FOLGA) * 1000 / tamanho;
        if (normal.largura(filtros) <= cabe) return new String[] {filtros};
        final int fim = normal.caber(filtros, cabe);
        int corte = filtros.lastIndexOf(" · ", fim);
        if (corte <= 0) corte = filtros.lastIndexOf(' ', fim);
        if (corte <= 0) corte = fim;
        return new String[] {filtros.substring(0, corte).strip(),
                filtros.substring(corte).replaceFirst("^[ ·]+", "")};
    }

    private void novaPagina() throws IOException {
        synchronized (doc) {
            encerrarPagina();
            pagina = new PDPage(new PDRectangle(LARGURA, ALTURA));
            pagina.setResources(recursos);
            doc.addPage(pagina);
        }
        if (ouvinte != null && paginas > 0) ouvinte.prontas(paginas);
        paginas++;
        conteudo.reiniciar();
        conteudo.anexar(cabecalhoPagina);
        y = topoCorpo;
        topo = true;
        progresso.paginas(paginas);
    }

    /** The page's content goes to the scratch file now: nothing of it stays in memory. */
    private void encerrarPagina() throws IOException {
        if (pagina == null) return;
        pagina.getCOSObject().setItem(COSName.CONTENTS, rascunho.gravar(conteudo));
        pagina = null;
    }

    /** "Página N de M", known only now, as a second small content stream of each page. */
    private void numerarPaginas() throws IOException {
        int numero = 0;
        for (PDPage p : doc.getPages()) {
            final String texto = "Página " + ++numero + " de " + paginas;
            conteudo.reiniciar();
            conteudo.abrirTexto();
            celula(normal, CORPO, texto, MARGEM + UTIL / 2, UTIL / 2, Alinhamento.DIREITA, false, RODAPE);
            conteudo.fecharTexto();
            synchronized (doc) {
                final COSArray partes = new COSArray();
                final COSBase corpo = p.getCOSObject().getDictionaryObject(COSName.CONTENTS);
                partes.add(corpo);
                partes.add(rascunho.gravar(conteudo));
                p.getCOSObject().setItem(COSName.CONTENTS, partes);
            }
        }
    }
}
