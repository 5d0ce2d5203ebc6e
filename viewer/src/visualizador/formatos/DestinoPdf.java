package visualizador.formatos;

import java.io.IOException;
import java.io.OutputStream;
import java.math.BigDecimal;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Collections;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import org.apache.pdfbox.cos.COSArray;
import org.apache.pdfbox.cos.COSBase;
import org.apache.pdfbox.cos.COSDictionary;
import org.apache.pdfbox.cos.COSName;
import org.apache.pdfbox.io.MemoryUsageSetting;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.pdmodel.PDPage;
import org.apache.pdfbox.pdmodel.PDResources;
import org.apache.pdfbox.pdmodel.common.PDRectangle;
import org.apache.pdfbox.pdmodel.graphics.form.PDFormXObject;
import visualizador.dados.Progresso;
import visualizador.design.Alinhamento;
import visualizador.design.Coluna;
import visualizador.design.TipoColuna;
import visualizador.pagina.Cabecalho;
import visualizador.pagina.Destino;
import visualizador.pagina.Formatos;
import visualizador.pagina.MedidaColuna;
import visualizador.pagina.Totais;

/**
 * The report as an A4 landscape PDF: on every page the header (title, filters, choices, moment of
 * issue, column titles) and "Página N de M"; in the body group headers, detail lines, subtotals
 * and the grand total, or in summary mode one line per group. A file gets each page as it fills
 * and is complete only once {@link #close()} follows {@link #fim}; the preview's document keeps
 * page contents in a scratch file, so memory holds only the page objects.
 */
public final class DestinoPdf implements Destino {
    static final Path FONTE = ArquivosDeFonte.achar("dejavu/DejaVuSans.ttf");
    static final Path FONTE_NEGRITO = ArquivosDeFonte.achar("dejavu/DejaVuSans-Bold.ttf");
    static final String CONTINUACAO = " (continuação)";
    static final String FILTROS_NA_PRIMEIRA = "Filtros: ver página 1";
    /** Between a column's title and its codes in the header's legend. */
    static final String LEGENDA = " (código nas linhas): ";

    private static final float LARGURA = PDRectangle.A4.getHeight();
    private static final float ALTURA = PDRectangle.A4.getWidth();
    private static final float MARGEM = 28;
    private static final float UTIL = LARGURA - 2 * MARGEM;
    static final float CORPO = 7;
    private static final float FILTRO = 7.5f;
    private static final float LINHA = 10;
    private static final float ENTRELINHA = 8.5f; // between the lines of a wrapped cell
    static final float FOLGA = 3; // blank on each side of a cell: 6 points between two columns
    private static final float ESPACO_GRUPO = 4;
    private static final float MENOR_FONTE = 3; // a number is made smaller, never cut
    private static final float RODAPE = MARGEM + 2;
    private static final float TRACO_RODAPE = MARGEM + 11;
    private static final float LIMITE = TRACO_RODAPE + 8; // lowest baseline of the body
    /** A total prints at body size up to this many digits; its column is made that wide. */
    static final int DIGITOS_TOTAL = 13;
    private static final int LINHAS_POR_CELULA = 12; // a longer text ends with "…" (a row must fit a page)
    private static final int LINHAS_DE_FILTRO = 4; // a longer filter block prints in full on page 1 only
    private static final int MAXIMO_FILTRO = 40;
    /** Up to this many codes a column with a legend shows codes; more would crowd the header. */
    static final int MAXIMO_LEGENDA = 12;
    /** A column measured wider still gets this much: its text wraps, its number is set smaller. */
    private static final float MAIOR_MEDIDA = UTIL / 4;

    private final Path arquivo;
    private final Progresso progresso;
    private final PDDocument doc;
    private final FontePdf normal;
    private final FontePdf negrito;
    private final PDResources recursos = new PDResources();
    /** The fonts of the header forms: the same for every form, fallback fonts added as loaded. */
    private final PDResources fontesDosFormularios = new PDResources();
    private final ReservasPdf reservas;
    private final COSArray caixa = new PDRectangle(LARGURA, ALTURA).getCOSArray(); // shared by every page
    private final PaginaPdf conteudo = new PaginaPdf();
    private final RascunhoPdf rascunho; // the preview's page contents
    private final IndiceTexto indice; // the preview's page texts, for its search
    private final ArquivoPdf arquivoPdf; // the file's writer
    private final CelulaPdf celula = new CelulaPdf();

    private List<Coluna> colunas; // the design's, indexed by the values of a line
    private Cabecalho cabecalho;
    private boolean resumo;
    // The printed columns, left to right: the design column each shows (-1: the summary's group
    // name or line count), its title, place and width.
    private int[] origem;
    private String[] titulos;
    private Alinhamento[] alinhamentos;
    private float[] x;
    private float[] largura;
    private int primeiraTotal; // a total line's label spans the columns before it
    private int[][] inicios; // per printed column (and group headers), the pieces of a wrapped text
    private int[][] fins;
    private int[] pedacos;
    private boolean[] cortada;
    private String[] textos; // the texts of the line being laid out, per printed column
    private List<Map<String, String>> codigos; // per printed column with a legend: each text's code; else null
    private List<String> legendas; // header lines: each legend column's codes with their texts

    private byte[] cabecalhoPrimeira;
    private byte[] cabecalhoDemais;
    private TrechosDaPagina textoPrimeira; // the headers' text, for the preview's search
    private TrechosDaPagina textoDemais;
    private float topoPrimeira;
    private float topoDemais;
    private float topoCorpo; // where the body starts below the header montarCabecalho built last
    private String tituloRodape;

    private PDPage pagina; // the preview's page being laid out
    private boolean aberta; // a page is being laid out
    private int paginas;
    private float y; // baseline of the next body line
    private boolean topo; // nothing written yet in this page's body
    private String grupo; // the open group's title, until its subtotal
    private boolean grupoPendente; // its header waits for its first line
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

    /** The text of the preview's finished pages, for its search; null for a file. */
    public IndiceTexto indiceDeTexto() {
        return indice;
    }

    /** Closes the preview's document and its scratch. */
    public void liberar() throws IOException {
        synchronized (doc) {
            fechado = true;
            try (rascunho; indice) {
                doc.close();
            }
        }
    }

    public DestinoPdf(Path arquivo, Progresso progresso) throws IOException {
        this.arquivo = arquivo;
        this.progresso = progresso;
        // The document holds only the fonts, the header forms and small streams (page contents go
        // to our own scratch or straight into the file): in memory, nothing of it can outlive a
        // process that dies without running its shutdown hooks (its X display gone, say).
        doc = new PDDocument(MemoryUsageSetting.setupMainMemoryOnly());
        try {
            reservas = new ReservasPdf(doc, ArquivosDeFonte.reservas(), f -> {
                recursos.put(COSName.getPDFName(f.nome), f.pd);
                fontesDosFormularios.put(COSName.getPDFName(f.nome), f.pd);
            });
            normal = new FontePdf(doc, FONTE, "F1", arquivo != null, reservas);
            negrito = new FontePdf(doc, FONTE_NEGRITO, "F2", arquivo != null, reservas);
            rascunho = arquivo == null ? new RascunhoPdf() : null;
            indice = arquivo == null ? new IndiceTexto() : null;
            arquivoPdf = arquivo == null ? null : new ArquivoPdf(arquivo, caixa);
        } catch (IOException | RuntimeException e) {
            doc.close();
            throw e;
        }
        for (FontePdf f : List.of(normal, negrito)) {
            recursos.put(COSName.getPDFName(f.nome), f.pd);
            fontesDosFormularios.put(COSName.getPDFName(f.nome), f.pd);
        }
        if (indice != null) conteudo.guardarTexto();
    }

    @Override
    public void inicio(Cabecalho cabecalho) throws IOException {
        this.cabecalho = cabecalho;
        colunas = cabecalho.colunas();
        resumo = cabecalho.somenteTotais();
        if (resumo) colunasDoResumo(cabecalho.agrupamento());
        else colunasDasLinhas(cabecalho.camposDoGrupo());
        final int n = origem.length + 1; // and one for group headers
        inicios = new int[n][LINHAS_POR_CELULA];
        fins = new int[n][LINHAS_POR_CELULA];
        pedacos = new int[n];
        cortada = new boolean[n];
        textos = new String[origem.length];
        tituloRodape = cabecalho.titulo();
        final List<String> filtros = linhasDeFiltro(cabecalho.filtros());
        final List<String> legenda = linhasDeFiltro(legendas);
        cabecalhoPrimeira = formulario("C1", montarCabecalho(cabecalho, juntas(filtros, legenda)));
        textoPrimeira = textoDoCabecalho();
        topoPrimeira = topoCorpo;
        if (filtros.size() > LINHAS_DE_FILTRO) {
            cabecalhoDemais = formulario("C2", montarCabecalho(cabecalho, juntas(List.of(FILTROS_NA_PRIMEIRA), legenda)));
            textoDemais = textoDoCabecalho();
            topoDemais = topoCorpo;
        } else {
            cabecalhoDemais = cabecalhoPrimeira;
            textoDemais = textoPrimeira;
            topoDemais = topoPrimeira;
        }
        novaPagina();
    }

    /** Its columns are sized by what they will hold, when the header says. */
    @Override
    public boolean medeColunas() {
        return true;
    }

    private static List<String> juntas(List<String> a, List<String> b) {
        final List<String> l = new ArrayList<>(a);
        l.addAll(b);
        return l;
    }

    @Override
    public void inicioGrupo(String titulo) {
        grupo = titulo;
        grupoPendente = true; // printed with its first line, so it never ends a page alone
    }

    @Override
    public void linha(Object[] valores) throws IOException {
        float altura = LINHA;
        for (int i = 0; i < origem.length; i++) {
            final Coluna c = colunas.get(origem[i]);
            textos[i] = c.tipo() == TipoColuna.TEXTO && valores[origem[i]] instanceof String s ? naLinha(i, s) : null;
            if (textos[i] != null) altura = Math.max(altura, quebrar(i, normal, textos[i], c.cortar()));
            else pedacos[i] = 0;
        }
        reservar(altura);
        conteudo.abrirTexto();
        int maisLinhas = 0;
        for (int i = 0; i < origem.length; i++) {
            final Coluna c = colunas.get(origem[i]);
            final Object v = valores[origem[i]];
            if (pedacos[i] > 0) {
                pedaco(i, 0, normal, textos[i], x[i], largura[i], c.alinhamento());
                maisLinhas = Math.max(maisLinhas, pedacos[i] - 1);
            } else if (v != null) {
                final boolean negativo = v instanceof BigDecimal d && d.signum() < 0;
                if (negativo) conteudo.vermelho(true);
                celula(normal, CORPO, celula.texto(c, v), x[i], largura[i], c.alinhamento(), true, y);
                if (negativo) conteudo.vermelho(false);
            }
        }
        // The wrapped cells' further lines, line by line across the row.
        for (int j = 1; j <= maisLinhas; j++)
            for (int i = 0; i < origem.length; i++)
                if (pedacos[i] > j) pedaco(i, j, normal, textos[i], x[i], largura[i],
                        colunas.get(origem[i]).alinhamento());
        conteudo.fecharTexto();
        avancar(altura);
    }

    /** A text as the line shows it: the code alone where the header gives a legend. */
    private String naLinha(int coluna, String s) {
        final Map<String, String> m = codigos.get(coluna);
        return m == null ? s : m.getOrDefault(s, s);
    }

    @Override
    public void fimGrupo(String titulo, Totais totais) throws IOException {
        if (resumo) {
            linhaResumo(normal, cabecalho.nomeDoGrupo(titulo), totais);
        } else {
            reservar(LINHA);
            conteudo.traco(x[0], fimDasColunas(), y + CORPO + 0.5f, 0.3f, 0.6f);
            linhaTotal("Total " + titulo, totais);
        }
        grupo = null;
        grupoPendente = false;
    }

    @Override
    public void fim(Totais totais) throws IOException {
        if (!aberta) throw new IllegalStateException("fim sem inicio");
        grupo = null;
        if (totais.linhas() == 0) {
            conteudo.abrirTexto();
            celula(normal, 9, Formatos.NENHUM_REGISTRO, x[0], fimDasColunas() - x[0], Alinhamento.ESQUERDA, false,
                    topoPrimeira - 4);
            conteudo.fecharTexto();
        } else {
            if (!topo) y -= ESPACO_GRUPO;
            if (y < LIMITE) novaPagina();
            conteudo.traco(x[0], fimDasColunas(), y + CORPO + 1, 0.8f, 0);
            if (resumo) linhaResumo(negrito, "Total geral", totais);
            else linhaTotal("Total geral", totais);
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
        try (doc; arquivoPdf) {
            if (concluido) {
                // The fonts are subset to the characters the pages used.
                normal.pd.subset();
                negrito.pd.subset();
                for (FontePdf f : reservas.usadas()) f.pd.subset();
                normal.gravarCodificacao(doc);
                negrito.gravarCodificacao(doc);
                arquivoPdf.concluir(recursos.getCOSObject());
            }
        } catch (IOException | RuntimeException e) {
            Files.deleteIfExists(arquivo);
            throw e;
        }
        if (!concluido) Files.deleteIfExists(arquivo);
    }

    // ---- Columns

    /** The design's columns less those the group header already shows; numbers wide enough for any total. */
    private void colunasDasLinhas(List<String> camposDoGrupo) {
        final List<Integer> visiveis = new ArrayList<>();
        for (int i = 0; i < colunas.size(); i++)
            if (!camposDoGrupo.contains(colunas.get(i).campo())) visiveis.add(i);
        final int n = visiveis.size();
        origem = new int[n];
        titulos = new String[n];
        alinhamentos = new Alinhamento[n];
        largura = new float[n];
        final boolean[] cresce = new boolean[n];
        final boolean[] medida = new boolean[n];
        final LarguraNecessaria necessaria = new LarguraNecessaria(normal, negrito, CORPO, FOLGA);
        codigos = comLegenda(visiveis);
        for (int i = 0; i < n; i++) {
            final Coluna c = colunas.get(visiveis.get(i));
            origem[i] = visiveis.get(i);
            titulos[i] = c.titulo();
            alinhamentos[i] = c.alinhamento();
            final float w = Math.min(necessaria.de(c, cabecalho.medida(origem[i]), codigos.get(i) != null), MAIOR_MEDIDA);
            medida[i] = !Float.isNaN(w);
            largura[i] = medida[i] ? w
                    : c.total() ? Math.max(c.largura(), larguraDeTotal(c.titulo(), c.casas()))
                    : c.tipo() == TipoColuna.DATA ? Math.max(c.largura(), normal.largura("00/00/0000") * CORPO / 1000 + 2 * FOLGA)
                    : c.largura();
            cresce[i] = c.cresce();
        }
        // A column sized by what it holds needs no more: the spare width goes to the growing
        // columns that were not measured (the description), when there are any.
        boolean outras = false;
        for (int i = 0; i < n; i++) outras |= cresce[i] && !medida[i];
        if (outras) {
            for (int i = 0; i < n; i++) cresce[i] &= !medida[i];
            cederAoQueCresce(cresce);
        }
        posicionar(cresce);
    }

    /**
     * A plain text measured only by its longest value may owe its width to one odd line: when the
     * growing columns would get less than their design width, such a column gives its width back,
     * down to its design width, so that odd line wraps rather than every description being cut.
     */
    private void cederAoQueCresce(boolean[] cresce) {
        float fixas = 0, desejada = 0;
        for (int i = 0; i < largura.length; i++) {
            if (cresce[i]) desejada += colunas.get(origem[i]).largura();
            else fixas += largura[i];
        }
        float falta = desejada - (UTIL - fixas);
        for (int i = 0; i < largura.length && falta > 0; i++) {
            final Coluna c = colunas.get(origem[i]);
            final boolean soOMaisLongo = c.tipo() == TipoColuna.TEXTO && !c.composta() && c.valoresSql() == null;
            if (cresce[i] || !soOMaisLongo || largura[i] <= c.largura()) continue;
            final float cede = Math.min(largura[i] - c.largura(), falta);
            largura[i] -= cede;
            falta -= cede;
        }
    }

    /**
     * Per printed column, each text's code, where the design asks for a legend and several codes
     * may show; null elsewhere. The legend's lines for the header are kept in {@link #legendas}.
     */
    private List<Map<String, String>> comLegenda(List<Integer> visiveis) {
        final List<Map<String, String>> r = new ArrayList<>(Collections.nCopies(visiveis.size(), null));
        legendas = new ArrayList<>();
        for (int i = 0; i < r.size(); i++) {
            final Coluna c = colunas.get(visiveis.get(i));
            final MedidaColuna m = cabecalho.medida(visiveis.get(i));
            if (!c.legenda() || m.codigos().size() < 2 || m.codigos().size() > MAXIMO_LEGENDA) continue;
            final Map<String, String> codigo = new HashMap<>();
            for (int k = 0; k < m.codigos().size(); k++) codigo.put(m.textos().get(k), m.codigos().get(k));
            r.set(i, codigo);
            legendas.add(c.titulo() + LEGENDA + String.join(" · ", m.textos().subList(0, m.codigos().size())));
        }
        return r;
    }

    /** The group's name, its line count and the total columns. */
    private void colunasDoResumo(String agrupamento) {
        final List<Integer> totais = new ArrayList<>();
        for (int i = 0; i < colunas.size(); i++)
            if (colunas.get(i).total()) totais.add(i);
        final int n = totais.size() + 2;
        origem = new int[n];
        titulos = new String[n];
        alinhamentos = new Alinhamento[n];
        largura = new float[n];
        final boolean[] cresce = new boolean[n];
        origem[0] = origem[1] = -1;
        titulos[0] = agrupamento;
        titulos[1] = "Linhas";
        alinhamentos[0] = Alinhamento.ESQUERDA;
        alinhamentos[1] = Alinhamento.DIREITA;
        largura[0] = 0;
        cresce[0] = true;
        largura[1] = Math.max(negrito.largura("Linhas"), negrito.largura("999.999.999")) * CORPO / 1000 + 2 * FOLGA;
        final LarguraNecessaria necessaria = new LarguraNecessaria(normal, negrito, CORPO, FOLGA);
        codigos = new ArrayList<>(Collections.nCopies(n, null));
        legendas = List.of();
        for (int i = 2; i < n; i++) {
            final Coluna c = colunas.get(totais.get(i - 2));
            origem[i] = totais.get(i - 2);
            titulos[i] = c.titulo();
            alinhamentos[i] = c.alinhamento();
            final float w = Math.min(necessaria.de(c, cabecalho.medida(origem[i]), false), MAIOR_MEDIDA);
            largura[i] = Float.isNaN(w) ? Math.max(c.largura(), larguraDeTotal(c.titulo(), c.casas())) : w;
        }
        posicionar(cresce);
    }

    /** Room for the title and for the widest figure of {@link #DIGITOS_TOTAL} digits, negative, in bold. */
    private float larguraDeTotal(String titulo, int casas) {
        final String maior = Formatos.numero(new BigDecimal("-" + "9".repeat(DIGITOS_TOTAL)).movePointLeft(casas), casas);
        return Math.max(negrito.largura(maior), negrito.largura(titulo)) * CORPO / 1000 + 2 * FOLGA;
    }

    /**
     * Places the columns: the page's spare width goes to the growing ones, in proportion to their
     * width; when they are too wide, the growing ones give way first, then all of them.
     */
    private void posicionar(boolean[] cresce) {
        final int n = largura.length;
        float soma = 0;
        float somaCresce = 0;
        int quantasCrescem = 0;
        for (int i = 0; i < n; i++) {
            soma += largura[i];
            if (cresce[i]) {
                somaCresce += largura[i];
                quantasCrescem++;
            }
        }
        float esquerda = MARGEM;
        if (soma <= UTIL && quantasCrescem > 0) {
            for (int i = 0; i < n; i++)
                if (cresce[i]) largura[i] += (UTIL - soma) * (somaCresce > 0 ? largura[i] / somaCresce : 1f / quantasCrescem);
        } else if (soma <= UTIL) {
            esquerda += (UTIL - soma) / 2;
        } else if (somaCresce > (soma - UTIL) * 2) {
            final float fator = 1 - (soma - UTIL) / somaCresce;
            for (int i = 0; i < n; i++)
                if (cresce[i]) largura[i] *= fator;
        } else {
            for (int i = 0; i < n; i++) largura[i] *= UTIL / soma;
        }
        x = new float[n];
        primeiraTotal = n;
        for (int i = 0; i < n; i++) {
            x[i] = esquerda;
            esquerda += largura[i];
            if (primeiraTotal == n && origem[i] >= 0 && colunas.get(origem[i]).total()) primeiraTotal = i;
        }
        if (resumo) primeiraTotal = 1;
    }

    private float fimDasColunas() {
        return x[x.length - 1] + largura[largura.length - 1];
    }

    // ---- Body

    /**
     * Makes room for a row of {@code altura}: on a new page when it does not fit, and below the
     * open group's header when that is still to print (a header never ends a page alone).
     */
    private void reservar(float altura) throws IOException {
        if (grupoPendente) {
            final float titulo = alturaTitulo(grupo);
            if (!cabe((topo ? 0 : ESPACO_GRUPO) + titulo + altura)) novaPagina();
            if (!topo) y -= ESPACO_GRUPO;
            grupoPendente = false;
            tituloDeGrupo(grupo);
        }
        if (!cabe(altura)) novaPagina();
    }

    /** Whether a row of {@code altura} still fits above the footer. */
    private boolean cabe(float altura) {
        return y - altura + LINHA >= LIMITE;
    }

    private float alturaTitulo(String titulo) {
        return quebrar(origem.length, negrito, titulo, x[0], fimDasColunas() - x[0], false);
    }

    private void tituloDeGrupo(String titulo) {
        final float altura = alturaTitulo(titulo);
        conteudo.abrirTexto();
        pedacos(origem.length, negrito, titulo, x[0], fimDasColunas() - x[0], Alinhamento.ESQUERDA);
        conteudo.fecharTexto();
        avancar(altura);
    }

    private void avancar(float altura) {
        y -= altura;
        topo = false;
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
            final float wRotulo = (negrito.largura(rotulo, 0, fim) + negrito.largura(FontePdf.RETICENCIAS)) * CORPO / 1000;
            conteudo.texto(negrito, CORPO, x[0] + FOLGA, y, rotulo, 0, fim, true);
            conteudo.texto(negrito, CORPO, x[0] + FOLGA + wRotulo, y, sufixo, 0, sufixo.length(), false);
        }
        somas(negrito, totais);
        conteudo.fecharTexto();
        avancar(LINHA);
    }

    /** A summary line: the group's name (wrapped when long), its line count and its sums. */
    private void linhaResumo(FontePdf f, String nome, Totais totais) throws IOException {
        final float altura = quebrar(0, f, nome, false);
        if (!cabe(altura)) novaPagina();
        conteudo.abrirTexto();
        pedacosDaCelula(0, f, nome, Alinhamento.ESQUERDA);
        celula(f, CORPO, Formatos.inteiro(totais.linhas()), x[1], largura[1], Alinhamento.DIREITA, true, y);
        somas(f, totais);
        conteudo.fecharTexto();
        avancar(altura);
    }

    /** The sums in their columns, negatives in red; inside an open text object. */
    private void somas(FontePdf f, Totais totais) {
        for (int i = 0; i < x.length; i++) {
            if (origem[i] < 0 || totais.soma(origem[i]) == null) continue;
            final BigDecimal soma = totais.soma(origem[i]);
            final Coluna c = colunas.get(origem[i]);
            if (soma.signum() < 0) conteudo.vermelho(true);
            celula(f, CORPO, celula.numero(soma, c.casas()), x[i], largura[i], c.alinhamento(), true, y);
            conteudo.vermelho(false);
        }
    }

    // ---- Cells

    private float quebrar(int coluna, FontePdf f, String s, boolean cortar) {
        return quebrar(coluna, f, s, x[coluna], largura[coluna], cortar);
    }

    /**
     * Splits {@code s} into the lines of its cell, at blanks where it can, and returns the height
     * they take; the pieces are kept for {@link #pedacos}. A cut text stays on one line with "…".
     */
    private float quebrar(int coluna, FontePdf f, String s, float esquerda, float larguraColuna, boolean cortar) {
        final int[] ini = inicios[coluna];
        final int[] fim = fins[coluna];
        final float cabe = (larguraColuna - 2 * FOLGA) * 1000 / CORPO;
        final int n = s.length();
        int linhas = 0;
        int i = 0;
        cortada[coluna] = false;
        while (true) {
            final int k = f.caber(s, i, cabe);
            ini[linhas] = i;
            if (k >= n) {
                fim[linhas++] = n;
                break;
            }
            if (cortar || linhas == ini.length - 1) {
                fim[linhas++] = Math.max(i, f.caber(s, i, cabe - f.largura(FontePdf.RETICENCIAS)));
                cortada[coluna] = true;
                break;
            }
            int corte = k;
            while (corte > i && s.charAt(corte) != ' ') corte--;
            if (corte == i) corte = Math.max(k, i + 1); // one word wider than the cell: broken anywhere
            int fimLinha = corte;
            while (fimLinha > i && s.charAt(fimLinha - 1) == ' ') fimLinha--;
            fim[linhas++] = fimLinha;
            i = corte;
            while (i < n && s.charAt(i) == ' ') i++;
            if (i >= n) break;
        }
        pedacos[coluna] = linhas;
        return LINHA + (linhas - 1) * ENTRELINHA;
    }

    private void pedacosDaCelula(int coluna, FontePdf f, String s, Alinhamento al) {
        pedacos(coluna, f, s, x[coluna], largura[coluna], al);
    }

    /** Writes the pieces {@link #quebrar} found, one under the other from the row's baseline. */
    private void pedacos(int coluna, FontePdf f, String s, float esquerda, float larguraColuna, Alinhamento al) {
        final int[] ini = inicios[coluna];
        final int[] fim = fins[coluna];
        for (int j = 0; j < pedacos[coluna]; j++) pedaco(coluna, j, f, s, esquerda, larguraColuna, al);
    }

    /** Line {@code j} of a wrapped cell. */
    private void pedaco(int coluna, int j, FontePdf f, String s, float esquerda, float larguraColuna, Alinhamento al) {
        final int ini = inicios[coluna][j];
        final int fim = fins[coluna][j];
        final boolean reticencias = cortada[coluna] && j == pedacos[coluna] - 1;
        final float w = al == Alinhamento.ESQUERDA || reticencias ? 0
                : (f.largura(s, ini, fim) + (reticencias ? f.largura(FontePdf.RETICENCIAS) : 0)) * CORPO / 1000;
        conteudo.texto(f, CORPO, alinhar(reticencias ? Alinhamento.ESQUERDA : al, esquerda, larguraColuna, w),
                y - j * ENTRELINHA, s, ini, fim, reticencias);
    }

    private static float alinhar(Alinhamento al, float esquerda, float larguraColuna, float w) {
        return switch (al) {
            case ESQUERDA -> esquerda + FOLGA;
            case DIREITA -> esquerda + larguraColuna - FOLGA - w;
            case CENTRO -> esquerda + (larguraColuna - w) / 2;
        };
    }

    /**
     * One line in a cell, inside an open text object, never wider than its column: a number or
     * date is set smaller when it does not fit, since a cut one would read wrong; text is cut with "…".
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
        conteudo.texto(f, t, alinhar(al, esquerda, larguraColuna, w), base, s, 0, fim, cortado);
    }

    // ---- Pages

    /** Each filter broken onto as many lines as it needs at the page's width. */
    private List<String> linhasDeFiltro(List<String> filtros) {
        final float cabe = (UTIL - 2 * FOLGA) * 1000 / FILTRO;
        final List<String> linhas = new ArrayList<>();
        for (String filtro : filtros) {
            int i = 0;
            while (i < filtro.length()) {
                final int k = normal.caber(filtro, i, cabe);
                int corte = k;
                if (k < filtro.length()) {
                    while (corte > i && filtro.charAt(corte) != ' ') corte--;
                    if (corte == i) corte = Math.max(k, i + 1);
                }
                linhas.add(filtro.substring(i, corte).strip());
                i = corte;
                while (i < filtro.length() && filtro.charAt(i) == ' ') i++;
            }
        }
        if (linhas.size() > MAXIMO_FILTRO) { // beyond reason: the block must leave room for the body
            linhas.subList(MAXIMO_FILTRO - 1, linhas.size()).clear();
            linhas.set(MAXIMO_FILTRO - 2, linhas.get(MAXIMO_FILTRO - 2) + " …");
        }
        return linhas;
    }

    /**
     * The page header stored once, as a form every page paints: a page's own content then holds
     * only its body, which is less to compress and to write on each of thousands of pages.
     * Returns the operators that paint it.
     */
    private byte[] formulario(String nome, byte[] operadores) throws IOException {
        final PDFormXObject form = new PDFormXObject(doc);
        form.setBBox(new PDRectangle(LARGURA, ALTURA));
        form.setResources(fontesDosFormularios);
        try (OutputStream out = form.getContentStream().createOutputStream(COSName.FLATE_DECODE)) {
            out.write(operadores);
        }
        recursos.put(COSName.getPDFName(nome), form);
        return ("/" + nome + " Do\n").getBytes(StandardCharsets.US_ASCII);
    }

    /** The text montarCabecalho drew, when kept: every page's text starts with it. */
    private TrechosDaPagina textoDoCabecalho() {
        return conteudo.trechos() == null ? null : conteudo.trechos().copia();
    }

    /** The operators shared by pages: header, column titles and the fixed part of the footer. */
    private byte[] montarCabecalho(Cabecalho c, List<String> filtros) {
        conteudo.reiniciar();
        final float direita = MARGEM + UTIL;
        float base = ALTURA - MARGEM - 10;
        final String emitido = c.emitidoEm();
        final float wEmitido = normal.largura(emitido) * CORPO / 1000;
        conteudo.abrirTexto();
        celula(negrito, 12, c.titulo(), MARGEM, UTIL - wEmitido - 12, Alinhamento.ESQUERDA, false, base);
        celula(normal, CORPO, emitido, direita - wEmitido - 2 * FOLGA, wEmitido + 2 * FOLGA, Alinhamento.DIREITA,
                false, base);
        base -= 12;
        for (String linha : filtros) {
            celula(normal, FILTRO, linha, MARGEM, UTIL, Alinhamento.ESQUERDA, false, base);
            base -= 9.5f;
        }
        celula(normal, FILTRO, c.escolhas(), MARGEM, UTIL, Alinhamento.ESQUERDA, false, base);
        conteudo.fecharTexto();
        base -= 5;
        conteudo.traco(MARGEM, direita, base, 0.6f, 0);
        base -= 9;
        conteudo.abrirTexto();
        for (int i = 0; i < x.length; i++)
            celula(negrito, CORPO, titulos[i], x[i], largura[i], alinhamentos[i], true, base);
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

    /** A new page; a group that goes on repeats its header there, so no line or subtotal is nameless. */
    private void novaPagina() throws IOException {
        synchronized (doc) {
            encerrarPagina();
            aberta = true;
            if (arquivoPdf == null) {
                final COSDictionary d = new COSDictionary();
                d.setItem(COSName.TYPE, COSName.PAGE);
                d.setItem(COSName.MEDIA_BOX, caixa);
                pagina = new PDPage(d);
                pagina.setResources(recursos);
                doc.addPage(pagina);
            }
        }
        if (ouvinte != null && paginas > 0) ouvinte.prontas(paginas);
        paginas++;
        conteudo.reiniciar();
        conteudo.anexar(paginas == 1 ? cabecalhoPrimeira : cabecalhoDemais);
        conteudo.anexarTexto(paginas == 1 ? textoPrimeira : textoDemais);
        y = paginas == 1 ? topoPrimeira : topoDemais;
        topo = true;
        progresso.paginas(paginas);
        if (grupo != null && !grupoPendente && !resumo) tituloDeGrupo(grupo + CONTINUACAO);
    }

    /**
     * The page is finished: its content goes to the file (or the preview's scratch) now, nothing
     * of it stays in memory. Only the footer's page number is added later, by {@link #numerarPaginas}.
     */
    private void encerrarPagina() throws IOException {
        if (!aberta) return;
        aberta = false;
        if (arquivoPdf != null) {
            arquivoPdf.pagina(conteudo);
        } else {
            pagina.getCOSObject().setItem(COSName.CONTENTS, rascunho.gravar(conteudo));
            pagina = null;
            indice.adicionar(conteudo.trechos()); // before the page is announced: a search may look at it then
        }
    }

    /** "Página N de M", known only now, as a second small content stream of each page. */
    private void numerarPaginas() throws IOException {
        if (arquivoPdf != null) {
            for (int i = 0; i < paginas; i++) {
                rodape(i + 1);
                arquivoPdf.rodape(i, conteudo);
            }
            return;
        }
        int numero = 0;
        for (PDPage p : doc.getPages()) {
            rodape(++numero);
            synchronized (doc) {
                final COSArray partes = new COSArray();
                final COSBase corpo = p.getCOSObject().getDictionaryObject(COSName.CONTENTS);
                partes.add(corpo);
                partes.add(rascunho.gravar(conteudo));
                p.getCOSObject().setItem(COSName.CONTENTS, partes);
            }
        }
    }

    private void rodape(int numero) {
        conteudo.reiniciar();
        conteudo.abrirTexto();
        celula(normal, CORPO, "Página " + numero + " de " + paginas, MARGEM + UTIL / 2, UTIL / 2, Alinhamento.DIREITA,
                false, RODAPE);
        conteudo.fecharTexto();
    }
}
