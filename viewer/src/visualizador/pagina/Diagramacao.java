package visualizador.pagina;

import java.io.IOException;
import java.math.BigDecimal;
import java.util.ArrayList;
import java.util.List;
import visualizador.design.Alinhamento;
import visualizador.design.Coluna;
import visualizador.design.TipoColuna;

/**
 * The report laid out on A4 landscape pages, as every paged format shows it: on every page the
 * header (title, filters, choices, moment of issue, column titles) and "Página N de M"; in the
 * body group headers, detail lines, subtotals and the grand total, or in summary mode one line
 * per group. A group header never ends a page alone, and a group that goes on to the next page
 * repeats its header there; when so chosen, each group starts a page of its own. Pages are handed to their {@link Folhas} one by one as they fill, so
 * memory does not grow with the report.
 */
public final class Diagramacao<F extends Metrica> {
    /** A4 landscape, in points, as PDF measures A4. */
    public static final float LARGURA = 297 * (1 / (10 * 2.54f) * 72);
    public static final float ALTURA = 210 * (1 / (10 * 2.54f) * 72);
    static final float MARGEM = 28;
    static final float UTIL = LARGURA - 2 * MARGEM;
    /** The body's font size. */
    public static final float CORPO = 7;
    /** Blank on each side of a cell: two of them between two columns. */
    public static final float FOLGA = 3;
    static final float LINHA = 10;
    static final float ENTRELINHA = 8.5f; // between the lines of a wrapped cell
    public static final String CONTINUACAO = " (continuação)";
    public static final String FILTROS_NA_PRIMEIRA = "Filtros: ver página 1";
    public static final String LEGENDA = ColunasDaPagina.LEGENDA;
    private static final float FILTRO = 7.5f;
    private static final float ESPACO_GRUPO = 4;
    private static final float RODAPE = MARGEM + 2;
    private static final float TRACO_RODAPE = MARGEM + 11;
    private static final float LIMITE = TRACO_RODAPE + 8; // lowest baseline of the body
    private static final int LINHAS_DE_FILTRO = 4; // a longer filter block prints in full on page 1 only
    private static final int MAXIMO_FILTRO = 40;

    private final Folhas<F> folhas;
    private final Pintura<F> pintura;
    private final PinturaComTexto<F> texto; // null: the pages' text is not kept
    private final F normal;
    private final F negrito;
    private final TextoCelula celula = new TextoCelula();

    private Cabecalho cabecalho;
    private List<Coluna> colunas; // the design's, indexed by the values of a line
    private boolean resumo;
    private ColunasDaPagina cols;
    private CelulasDaPagina<F> celulas; // one per printed column, and one for group headers
    private String[] textos; // the texts of the line being laid out, per printed column

    private int molduraDemais; // the frame of the pages after the first
    private float topoPrimeira;
    private float topoDemais;
    private int paginas;
    private float y; // baseline of the next body line
    private boolean topo; // nothing written yet in this page's body
    private String grupo; // the open group's title, until its subtotal
    private boolean grupoPendente; // its header waits for its first line

    public Diagramacao(Folhas<F> folhas) {
        this.folhas = folhas;
        texto = folhas.guardaTexto() ? new PinturaComTexto<>(folhas.pintura()) : null;
        pintura = texto != null ? texto : folhas.pintura();
        normal = folhas.normal();
        negrito = folhas.negrito();
    }

    /** Pages begun so far; all of them after {@link #fim}. */
    public int paginas() {
        return paginas;
    }

    public void inicio(Cabecalho c) throws IOException {
        cabecalho = c;
        colunas = c.colunas();
        resumo = c.somenteTotais();
        cols = resumo ? ColunasDaPagina.doResumo(c, normal, negrito) : ColunasDaPagina.dasLinhas(c, normal, negrito);
        celulas = new CelulasDaPagina<>(pintura, cols.quantas() + 1);
        textos = new String[cols.quantas()];
        final List<String> filtros = linhasDeFiltro(c.filtros());
        final List<String> legenda = linhasDeFiltro(cols.legendas);
        topoPrimeira = moldura(1, juntas(filtros, legenda));
        if (filtros.size() > LINHAS_DE_FILTRO) {
            molduraDemais = 2;
            topoDemais = moldura(2, juntas(List.of(FILTROS_NA_PRIMEIRA), legenda));
        } else {
            molduraDemais = 1;
            topoDemais = topoPrimeira;
        }
        novaPagina();
    }

    private static List<String> juntas(List<String> a, List<String> b) {
        final List<String> l = new ArrayList<>(a);
        l.addAll(b);
        return l;
    }

    public void inicioGrupo(String titulo) {
        grupo = titulo;
        grupoPendente = true; // printed with its first line, so it never ends a page alone
    }

    public void linha(Object[] valores) throws IOException {
        final int n = cols.quantas();
        float altura = LINHA;
        for (int i = 0; i < n; i++) {
            final Coluna c = colunas.get(cols.origem[i]);
            textos[i] = c.tipo() == TipoColuna.TEXTO && valores[cols.origem[i]] instanceof String s ? cols.naLinha(i, s) : null;
            if (textos[i] != null) altura = Math.max(altura, celulas.quebrar(i, normal, textos[i], cols.largura[i], c.cortar()));
            else celulas.esquecer(i);
        }
        reservar(altura);
        pintura.abrirTexto();
        int maisLinhas = 0;
        for (int i = 0; i < n; i++) {
            final Coluna c = colunas.get(cols.origem[i]);
            final Object v = valores[cols.origem[i]];
            if (celulas.pedacos(i) > 0) {
                celulas.pedaco(i, 0, normal, textos[i], cols.x[i], cols.largura[i], c.alinhamento(), y);
                maisLinhas = Math.max(maisLinhas, celulas.pedacos(i) - 1);
            } else if (v != null) {
                final boolean negativo = v instanceof BigDecimal d && d.signum() < 0;
                if (negativo) pintura.vermelho(true);
                celulas.celula(normal, CORPO, celula.texto(c, v), cols.x[i], cols.largura[i], c.alinhamento(), true, y);
                if (negativo) pintura.vermelho(false);
            }
        }
        // The wrapped cells' further lines, line by line across the row.
        for (int j = 1; j <= maisLinhas; j++)
            for (int i = 0; i < n; i++)
                if (celulas.pedacos(i) > j) celulas.pedaco(i, j, normal, textos[i], cols.x[i], cols.largura[i],
                        colunas.get(cols.origem[i]).alinhamento(), y);
        pintura.fecharTexto();
        avancar(altura);
    }

    public void fimGrupo(String titulo, Totais totais) throws IOException {
        if (resumo) {
            linhaResumo(normal, cabecalho.nomeDoGrupo(titulo), totais);
        } else {
            reservar(LINHA);
            pintura.traco(cols.x[0], cols.fim(), y + CORPO + 0.5f, 0.3f, 0.6f);
            linhaTotal("Total " + titulo, totais);
        }
        grupo = null;
        grupoPendente = false;
    }

    /** The grand total, the last page ended, then every page's footer. */
    public void fim(Totais totais) throws IOException {
        if (paginas == 0) throw new IllegalStateException("fim sem inicio");
        grupo = null;
        if (totais.linhas() == 0) {
            pintura.abrirTexto();
            celulas.celula(normal, 9, Formatos.NENHUM_REGISTRO, cols.x[0], cols.fim() - cols.x[0], Alinhamento.ESQUERDA,
                    false, topoPrimeira - 4);
            pintura.fecharTexto();
        } else {
            if (!topo) y -= ESPACO_GRUPO;
            if (y < LIMITE) novaPagina();
            pintura.traco(cols.x[0], cols.fim(), y + CORPO + 1, 0.8f, 0);
            if (resumo) linhaResumo(negrito, "Total geral", totais);
            else linhaTotal("Total geral", totais);
        }
        if (texto != null) folhas.texto(texto.trechos());
        folhas.ultimaPagina();
        for (int i = 1; i <= paginas; i++) {
            rascunho();
            pintura.abrirTexto();
            celulas.celula(normal, CORPO, "Página " + i + " de " + paginas, MARGEM + UTIL / 2, UTIL / 2,
                    Alinhamento.DIREITA, false, RODAPE);
            pintura.fecharTexto();
            folhas.rodape(i);
        }
    }

    // ---- Body

    /**
     * Makes room for a row of {@code altura}: on a new page when it does not fit, and below the
     * open group's header when that is still to print (a header never ends a page alone).
     */
    private void reservar(float altura) throws IOException {
        if (grupoPendente) {
            if (cabecalho.paginaPorGrupo() && !topo) novaPagina();
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
        return celulas.quebrar(cols.quantas(), negrito, titulo, cols.fim() - cols.x[0], false);
    }

    private void tituloDeGrupo(String titulo) {
        final float altura = alturaTitulo(titulo);
        pintura.abrirTexto();
        celulas.pedacos(cols.quantas(), negrito, titulo, cols.x[0], cols.fim() - cols.x[0], Alinhamento.ESQUERDA, y);
        pintura.fecharTexto();
        avancar(altura);
    }

    private void avancar(float altura) {
        y -= altura;
        topo = false;
    }

    /** The bold closing line of a group or of the report: label with line count, then the sums. */
    private void linhaTotal(String rotulo, Totais totais) {
        final String sufixo = ": " + Formatos.linhas(totais.linhas());
        final float x0 = cols.x[0];
        final float fimRotulo = cols.primeiraTotal < cols.quantas() ? cols.x[cols.primeiraTotal] : cols.fim();
        pintura.abrirTexto();
        final float cabe = (fimRotulo - x0 - 2 * FOLGA) * 1000 / CORPO;
        final float wSufixo = negrito.largura(sufixo);
        if (negrito.largura(rotulo) + wSufixo <= cabe || wSufixo > cabe / 2) {
            celulas.celula(negrito, CORPO, rotulo + sufixo, x0, fimRotulo - x0, Alinhamento.ESQUERDA, false, y);
        } else {
            // The description gives way, the count always shows.
            final int fim = negrito.caber(rotulo, cabe - wSufixo - negrito.largura(Metrica.RETICENCIAS));
            final float wRotulo = (negrito.largura(rotulo, 0, fim) + negrito.largura(Metrica.RETICENCIAS)) * CORPO / 1000;
            pintura.texto(negrito, CORPO, x0 + FOLGA, y, rotulo, 0, fim, true);
            pintura.texto(negrito, CORPO, x0 + FOLGA + wRotulo, y, sufixo, 0, sufixo.length(), false);
        }
        somas(negrito, totais);
        pintura.fecharTexto();
        avancar(LINHA);
    }

    /** A summary line: the group's name (wrapped when long), its line count and its sums. */
    private void linhaResumo(F f, String nome, Totais totais) throws IOException {
        final float altura = celulas.quebrar(0, f, nome, cols.largura[0], false);
        if (!cabe(altura)) novaPagina();
        pintura.abrirTexto();
        celulas.pedacos(0, f, nome, cols.x[0], cols.largura[0], Alinhamento.ESQUERDA, y);
        celulas.celula(f, CORPO, Formatos.inteiro(totais.linhas()), cols.x[1], cols.largura[1], Alinhamento.DIREITA, true, y);
        somas(f, totais);
        pintura.fecharTexto();
        avancar(altura);
    }

    /** The sums in their columns, negatives in red; inside an open text object. */
    private void somas(F f, Totais totais) {
        for (int i = 0; i < cols.quantas(); i++) {
            if (cols.origem[i] < 0 || totais.soma(cols.origem[i]) == null) continue;
            final BigDecimal soma = totais.soma(cols.origem[i]);
            final Coluna c = colunas.get(cols.origem[i]);
            if (soma.signum() < 0) pintura.vermelho(true);
            celulas.celula(f, CORPO, celula.numero(soma, c.casas()), cols.x[i], cols.largura[i], c.alinhamento(), true, y);
            pintura.vermelho(false);
        }
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
     * Frame {@code qual}, what its pages share: header, column titles and the fixed part of the
     * footer. Returns where the body starts below it.
     */
    private float moldura(int qual, List<String> filtros) throws IOException {
        rascunho();
        final float direita = MARGEM + UTIL;
        float base = ALTURA - MARGEM - 10;
        final String emitido = cabecalho.emitidoEm();
        final float wEmitido = normal.largura(emitido) * CORPO / 1000;
        pintura.abrirTexto();
        celulas.celula(negrito, 12, cabecalho.titulo(), MARGEM, UTIL - wEmitido - 12, Alinhamento.ESQUERDA, false, base);
        celulas.celula(normal, CORPO, emitido, direita - wEmitido - 2 * FOLGA, wEmitido + 2 * FOLGA, Alinhamento.DIREITA,
                false, base);
        base -= 12;
        for (String linha : filtros) {
            celulas.celula(normal, FILTRO, linha, MARGEM, UTIL, Alinhamento.ESQUERDA, false, base);
            base -= 9.5f;
        }
        celulas.celula(normal, FILTRO, cabecalho.escolhas(), MARGEM, UTIL, Alinhamento.ESQUERDA, false, base);
        pintura.fecharTexto();
        base -= 5;
        pintura.traco(MARGEM, direita, base, 0.6f, 0);
        base -= 9;
        pintura.abrirTexto();
        for (int i = 0; i < cols.quantas(); i++)
            celulas.celula(negrito, CORPO, cols.titulos[i], cols.x[i], cols.largura[i], cols.alinhamentos[i], true, base);
        pintura.fecharTexto();
        base -= 3.5f;
        pintura.traco(MARGEM, direita, base, 0.4f, 0);

        pintura.traco(MARGEM, direita, TRACO_RODAPE, 0.4f, 0);
        pintura.abrirTexto();
        celulas.celula(normal, CORPO, cabecalho.titulo(), MARGEM, UTIL / 2, Alinhamento.ESQUERDA, false, RODAPE);
        pintura.fecharTexto();
        folhas.moldura(qual);
        if (texto != null) texto.guardarMoldura(qual);
        return base - 9;
    }

    private void rascunho() {
        folhas.rascunho();
        if (texto != null) texto.limpar();
    }

    /** A new page; a group that goes on repeats its header there, so no line or subtotal is nameless. */
    private void novaPagina() throws IOException {
        if (texto != null && paginas > 0) folhas.texto(texto.trechos());
        paginas++;
        final int moldura = paginas == 1 ? 1 : molduraDemais;
        folhas.pagina(paginas, moldura);
        if (texto != null) texto.comecarPagina(moldura);
        y = paginas == 1 ? topoPrimeira : topoDemais;
        topo = true;
        if (grupo != null && !grupoPendente && !resumo) tituloDeGrupo(grupo + CONTINUACAO);
    }
}
