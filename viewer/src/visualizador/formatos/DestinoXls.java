package visualizador.formatos;

import java.io.IOException;
import java.math.BigDecimal;
import java.nio.file.Path;
import java.time.LocalDate;
import java.time.temporal.ChronoUnit;
import java.util.ArrayList;
import java.util.List;
import java.util.Locale;
import visualizador.Formato;
import visualizador.design.Coluna;
import visualizador.pagina.Cabecalho;
import visualizador.pagina.Destino;
import visualizador.pagina.Formatos;
import visualizador.pagina.Totais;

/**
 * The report as a spreadsheet the user can sort and filter. Above the table, what it covers:
 * title, filters, grouping and ordering, moment of issue. Then one flat table: the column titles
 * frozen, an auto-filter over the table only, one row per line with every column (the grouping's
 * included), typed cells, and a bold grand-total line below. Group headers and subtotals would
 * break sorting, so they are left out; a summary has instead one row per group with its count and
 * sums. Past a sheet's rows the table goes on in "Relatório (2)", and so on.
 *
 * The grand total's count and sums are SUBTOTAL formulas over the table on every sheet, so they
 * follow the auto-filter (hidden rows are left out); each carries the whole report's figure as its
 * value, for readers that do not compute formulas.
 *
 * A name ending in ".xlsx" gets the Office Open XML format, streamed to the file row by row, so
 * any length fits the heap; any other name gets .xls.
 */
public final class DestinoXls implements Destino {
    /**
     * The most lines written to .xls; above it the report goes to .xlsx. HSSF keeps the whole
     * workbook in memory, then builds the whole file in memory again to write it. Measured with
     * lines like the design's (11 columns, two long composed texts, a distinct description and
     * reference per line, four numbers, a date): 1.64 KB of live heap per line once filled, and
     * writing roughly doubles that. With -Xmx512m, 180,000 lines were written and 200,000 ran out
     * of memory while writing; 100,000 lines were written in a 300 MB heap (24 MB file), which
     * leaves some 200 MB of a 512 MB heap to the rest of the viewer (the preview's PDF among it).
     */
    public static final long LIMITE_LINHAS = 100_000;
    /** Rows of a .xls sheet, the header block included. */
    static final int LINHAS_POR_FOLHA = 65_536;
    static final String NOME_FOLHA = "Relatório";
    /** The longest text a cell holds. */
    private static final int MAX_TEXTO = 32_767;
    private static final LocalDate ORIGEM_EXCEL = LocalDate.of(1899, 12, 30);
    private static final LocalDate PRIMEIRA_DATA = LocalDate.of(1900, 3, 1);

    private final Planilha planilha;
    private Cabecalho cabecalho;
    private List<Coluna> colunas;
    /** A summary's table: group, count, then these columns' sums; null for the full report. */
    private int[] somadas;
    private EstilosXls estilos;
    private EstiloXls[] estilosDasLinhas;
    private int folhas;
    private String nomeFolha;
    /** The table's rows on each sheet written so far, for the totals' formulas. */
    private final List<Trecho> trechos = new ArrayList<>();
    /** Columns with a value on every line so far: the count of lines counts one of them. */
    private boolean[] sempreCheia;
    private int linhaTitulos;
    private int proximaLinha;
    private boolean completo;

    private record Trecho(String folha, int primeira, int ultima) {}

    public DestinoXls(Path arquivo) throws IOException {
        planilha = Formato.xlsx(arquivo) ? new PlanilhaXlsx(arquivo) : new PlanilhaXls(arquivo);
    }

    /** The .xlsx name of a .xls one: "r.xls" is "r.xlsx"; any other name gets ".xlsx" added. */
    public static Path comoXlsx(Path arquivo) {
        final String n = arquivo.getFileName().toString();
        if (Formato.xlsx(arquivo)) return arquivo;
        final boolean xls = n.toLowerCase(Locale.ROOT).endsWith(".xls");
        return arquivo.resolveSibling((xls ? n.substring(0, n.length() - 4) : n) + ".xlsx");
    }

    @Override
    public void inicio(Cabecalho c) throws IOException {
        cabecalho = c;
        colunas = c.colunas();
        if (c.somenteTotais()) somadas = c.colunasSomadas();
        estilos = new EstilosXls(colunas);
        estilosDasLinhas = new EstiloXls[colunas.size()];
        for (int i = 0; i < estilosDasLinhas.length; i++) estilosDasLinhas[i] = estilos.dado(i);
        sempreCheia = new boolean[colunas.size()];
        java.util.Arrays.fill(sempreCheia, true);
        novaFolha();
    }

    @Override
    public void inicioGrupo(String titulo) {}

    @Override
    public void linha(Object[] valores) throws IOException {
        final Object[] celulas = new Object[valores.length];
        for (int i = 0; i < valores.length; i++) {
            celulas[i] = celula(valores[i]);
            if (celulas[i] == null) sempreCheia[i] = false;
        }
        planilha.linha(novaLinha(), celulas, estilosDasLinhas);
    }

    @Override
    public void fimGrupo(String titulo, Totais totais) throws IOException {
        if (somadas == null) return;
        resumo(novaLinha(), cabecalho.nomeDoGrupo(titulo), totais, false);
    }

    @Override
    public void fim(Totais totais) throws IOException {
        filtrar();
        // The total goes below a blank row, outside the filter, so sorting never moves it.
        if (proximaLinha + 2 > planilha.linhasPorFolha()) {
            novaFolha();
            filtrar();
        }
        final int r = proximaLinha + 1;
        if (totais.linhas() == 0) {
            planilha.linha(r, new Object[] {Formatos.NENHUM_REGISTRO}, new EstiloXls[] {estilos.rotuloTotal});
        } else if (somadas != null) {
            resumo(r, "Total geral", totais, true);
        } else {
            final Object[] celulas = new Object[colunas.size()];
            final EstiloXls[] e = new EstiloXls[colunas.size()];
            for (int i = 0; i < celulas.length; i++) {
                final BigDecimal soma = totais.soma(i);
                celulas[i] = soma == null ? null : subtotal(109, i, soma);
                e[i] = estilos.total(i);
            }
            final int contada = colunaContada();
            if (celulas.length > 1 && celulas[1] == null && contada >= 0) {
                celulas[0] = "Total geral";
                celulas[1] = subtotal(103, contada, totais.linhas());
                e[1] = estilos.linhasTotal;
            } else {
                celulas[0] = "Total geral: " + Formatos.linhas(totais.linhas());
            }
            e[0] = estilos.rotuloTotal;
            planilha.linha(r, celulas, e);
        }
        completo = true;
    }

    /** A summary row: the group's name, its count and its sums. */
    private void resumo(int r, String nome, Totais totais, boolean total) throws IOException {
        final Object[] celulas = new Object[2 + somadas.length];
        final EstiloXls[] e = new EstiloXls[celulas.length];
        celulas[0] = texto(nome);
        e[0] = total ? estilos.rotuloTotal : estilos.texto;
        // The grand total sums the groups' rows, so it too follows the filter.
        celulas[1] = total ? subtotal(109, 1, totais.linhas()) : totais.linhas();
        e[1] = total ? estilos.inteiroTotal : estilos.inteiro;
        for (int k = 0; k < somadas.length; k++) {
            final BigDecimal soma = totais.soma(somadas[k]);
            celulas[2 + k] = total && soma != null ? subtotal(109, 2 + k, soma) : soma;
            e[2 + k] = total ? estilos.total(somadas[k]) : estilos.dado(somadas[k]);
        }
        planilha.linha(r, celulas, e);
    }

    /** Writes the file only when the report reached its end; otherwise leaves none. */
    @Override
    public void close() throws IOException {
        try (planilha) {
            if (completo) planilha.concluir();
        }
    }

    /** The index of the next row of the table, on a new sheet when this one is full. */
    private int novaLinha() throws IOException {
        if (proximaLinha == planilha.linhasPorFolha()) {
            filtrar();
            novaFolha();
        }
        return proximaLinha++;
    }

    /** A sheet with the report's header block, then the column titles, frozen below it. */
    private void novaFolha() throws IOException {
        final List<String> nomes = new ArrayList<>();
        final List<Integer> larguras = new ArrayList<>();
        if (somadas == null) {
            for (Coluna c : colunas) {
                nomes.add(c.titulo());
                larguras.add(largura(c.largura(), c.titulo()));
            }
        } else {
            nomes.add(cabecalho.agrupamento());
            larguras.add(60 * 256);
            nomes.add("Linhas");
            larguras.add(12 * 256);
            for (int i : somadas) {
                nomes.add(colunas.get(i).titulo());
                larguras.add(largura(colunas.get(i).largura(), colunas.get(i).titulo()));
            }
        }
        // A filter wider than the table (a long list of codes) is given in full, wrapped across it.
        final int larguraTabela = larguras.stream().mapToInt(Integer::intValue).sum() / 256;
        final List<String> bloco = new ArrayList<>();
        final List<Integer> linhasDeTexto = new ArrayList<>(); // 0: one line, overflowing to the right
        bloco.add(cabecalho.titulo());
        linhasDeTexto.add(0);
        for (String f : cabecalho.filtrosCompletos()) {
            if (f.length() <= larguraTabela) {
                bloco.add(f);
                linhasDeTexto.add(0);
                continue;
            }
            final TextoLargoXls t = TextoLargoXls.quebrar(f, larguraTabela);
            bloco.addAll(t.pedacos());
            linhasDeTexto.addAll(t.linhas());
        }
        bloco.add(cabecalho.escolhas());
        bloco.add(cabecalho.emitidoEm());
        linhasDeTexto.add(0);
        linhasDeTexto.add(0);
        linhaTitulos = bloco.size() + 1; // a blank row between the block and the table
        folhas++;
        nomeFolha = folhas == 1 ? NOME_FOLHA : NOME_FOLHA + " (" + folhas + ")";
        planilha.novaFolha(nomeFolha,
                larguras.stream().mapToInt(Integer::intValue).toArray(), linhaTitulos + 1);
        for (int r = 0; r < bloco.size(); r++) {
            if (linhasDeTexto.get(r) > 0)
                planilha.linhaLarga(r, bloco.get(r), estilos.textoLargo, larguras.size(), linhasDeTexto.get(r));
            else
                planilha.linha(r, new Object[] {texto(bloco.get(r))},
                        new EstiloXls[] {r == 0 ? estilos.tituloRelatorio : estilos.texto});
        }
        final EstiloXls[] e = new EstiloXls[nomes.size()];
        java.util.Arrays.fill(e, estilos.titulo);
        planilha.linha(linhaTitulos, nomes.toArray(), e);
        proximaLinha = linhaTitulos + 1;
    }

    private int largura() {
        return somadas == null ? colunas.size() : 2 + somadas.length;
    }

    /** The auto-filter over the column titles and the lines of the current sheet: the table only. */
    private void filtrar() {
        planilha.filtro(linhaTitulos, Math.max(linhaTitulos, proximaLinha - 1), largura());
        if (proximaLinha - 1 > linhaTitulos) trechos.add(new Trecho(nomeFolha, linhaTitulos + 1, proximaLinha - 1));
    }

    /**
     * SUBTOTAL(funcao, …) over the table's cells of column {@code coluna} on every sheet: 109 sums
     * and 103 counts what is not empty, both leaving out the rows the filter hides.
     */
    private FormulaXls subtotal(int funcao, int coluna, Number valor) {
        final String letras = PlanilhaXlsx.coluna(coluna);
        final StringBuilder f = new StringBuilder("SUBTOTAL(").append(funcao);
        for (Trecho t : trechos) {
            f.append(',');
            if (trechos.size() > 1 || !t.folha().equals(nomeFolha))
                f.append('\'').append(t.folha().replace("'", "''")).append("'!");
            f.append(letras).append(t.primeira() + 1).append(':').append(letras).append(t.ultima() + 1);
        }
        return new FormulaXls(f.append(')').toString(), valor);
    }

    /** A column filled on every line, preferably a number's; -1 when there is none. */
    private int colunaContada() {
        for (int i = 0; i < colunas.size(); i++)
            if (sempreCheia[i] && colunas.get(i).tipo() != visualizador.design.TipoColuna.TEXTO) return i;
        for (int i = 0; i < colunas.size(); i++) if (sempreCheia[i]) return i;
        return -1;
    }

    /**
     * Page points to characters: the page prints at about 7 points, where a character is some 3.5
     * points wide; the header's filter button needs room beside the title too.
     */
    static int largura(double pontos, String titulo) {
        final double caracteres = Math.max(pontos / 3.5, titulo.length() + 4);
        return (int) Math.min(255, caracteres) * 256;
    }

    private static String texto(String s) {
        return s.length() > MAX_TEXTO ? s.substring(0, MAX_TEXTO) : s;
    }

    /** A value as a cell holds it: text, or a number (a date as Excel's day number). */
    private static Object celula(Object valor) {
        if (valor == null || valor instanceof Number) return valor;
        if (valor instanceof LocalDate d)
            return d.isBefore(PRIMEIRA_DATA) ? Formatos.data(d) : (Object) serial(d); // before Excel's calendar: text
        return texto(valor.toString());
    }

    /** Excel's day number, with no time zone involved (a date-only value must not shift a day). */
    private static long serial(LocalDate d) {
        return ChronoUnit.DAYS.between(ORIGEM_EXCEL, d);
    }
}
