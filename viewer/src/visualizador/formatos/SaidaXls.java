package visualizador.formatos;

import java.io.IOException;
import java.math.BigDecimal;
import java.nio.file.Path;
import java.time.LocalDate;
import java.time.temporal.ChronoUnit;
import java.util.ArrayList;
import java.util.List;
import visualizador.Formato;
import visualizador.design.TipoColuna;
import visualizador.pagina.Cabecalho;
import visualizador.pagina.ColunaTabela;
import visualizador.pagina.Formatos;
import visualizador.pagina.LinhaTabela;
import visualizador.pagina.SaidaTabela;
import visualizador.pagina.Tabela;

/**
 * The report's table as a spreadsheet (see {@link DestinoXls}): the lines or a summary's rows,
 * typed, and the grand total; group headers and subtotals would break sorting and are left out.
 */
final class SaidaXls implements SaidaTabela {
    static final String NOME_FOLHA = "Relatório";
    /** The longest text a cell holds. */
    private static final int MAX_TEXTO = 32_767;
    private static final LocalDate ORIGEM_EXCEL = LocalDate.of(1899, 12, 30);
    private static final LocalDate PRIMEIRA_DATA = LocalDate.of(1900, 3, 1);

    private final Planilha planilha;
    private Cabecalho cabecalho;
    private List<ColunaTabela> colunas;
    private EstilosXls estilos;
    private EstiloXls[] estilosDasLinhas;
    private EstiloXls[] estilosDoTotal;
    /** A line's cells: a row is written before linha returns, so one array serves every line. */
    private Object[] celulas;
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

    SaidaXls(Path arquivo) throws IOException {
        planilha = Formato.xlsx(arquivo) ? new PlanilhaXlsx(arquivo) : new PlanilhaXls(arquivo);
    }

    @Override
    public void inicio(Tabela tabela, Cabecalho c) throws IOException {
        cabecalho = c;
        colunas = tabela.colunas();
        estilos = new EstilosXls(c.colunas());
        estilosDasLinhas = new EstiloXls[colunas.size()];
        estilosDoTotal = new EstiloXls[colunas.size()];
        for (int i = 0; i < colunas.size(); i++) {
            final int indice = colunas.get(i).indice();
            estilosDasLinhas[i] = switch (indice) {
                case ColunaTabela.GRUPO -> estilos.texto;
                case ColunaTabela.LINHAS -> estilos.inteiro;
                default -> estilos.dado(indice);
            };
            estilosDoTotal[i] = switch (indice) {
                case ColunaTabela.GRUPO -> estilos.rotuloTotal;
                case ColunaTabela.LINHAS -> estilos.inteiroTotal;
                default -> estilos.total(indice);
            };
        }
        celulas = new Object[colunas.size()];
        sempreCheia = new boolean[colunas.size()];
        java.util.Arrays.fill(sempreCheia, true);
        novaFolha();
    }

    @Override
    public void linha(LinhaTabela l) throws IOException {
        switch (l.tipo()) {
            case DETALHE, RESUMO -> {
                for (int i = 0; i < celulas.length; i++) {
                    celulas[i] = celula(l.valor(i));
                    if (celulas[i] == null) sempreCheia[i] = false;
                }
                planilha.linha(novaLinha(), celulas, estilosDasLinhas);
            }
            case TOTAL -> total(abaixoDaTabela(), l);
            case TOTAL_RESUMO -> totalResumo(abaixoDaTabela(), l);
            case NENHUM_REGISTRO -> planilha.linha(abaixoDaTabela(), new Object[] {texto(l.rotulo())},
                    new EstiloXls[] {estilos.rotuloTotal});
            case GRUPO, SUBTOTAL -> { }
        }
    }

    @Override
    public void fim() {
        completo = true;
    }

    /** Closes the table's filter; the total goes below a blank row, outside it, so sorting never moves it. */
    private int abaixoDaTabela() throws IOException {
        filtrar();
        if (proximaLinha + 2 > planilha.linhasPorFolha()) {
            novaFolha();
            filtrar();
        }
        return proximaLinha + 1;
    }

    /**
     * The lines' grand total: each sum under its column, the label in the first column without
     * one, and the count in the column after it when that is free.
     */
    private void total(int r, LinhaTabela l) throws IOException {
        final Object[] celulas = new Object[colunas.size()];
        final EstiloXls[] e = estilosDoTotal.clone();
        int rotulo = -1;
        for (int i = 0; i < celulas.length; i++) {
            if (l.valor(i) instanceof BigDecimal soma) celulas[i] = subtotal(109, i, soma);
            else if (rotulo < 0) rotulo = i;
        }
        final int contada = colunaContada();
        if (rotulo < 0) {
            // Every column holds a sum: there is no cell left for the label.
        } else if (rotulo + 1 < celulas.length && celulas[rotulo + 1] == null && contada >= 0) {
            celulas[rotulo] = l.nome();
            celulas[rotulo + 1] = subtotal(103, contada, l.linhas());
            e[rotulo + 1] = estilos.linhasTotal;
        } else {
            celulas[rotulo] = l.rotulo();
        }
        if (rotulo >= 0) e[rotulo] = estilos.rotuloTotal;
        planilha.linha(r, celulas, e);
    }

    /** A summary's grand total: it sums the groups' rows, so it too follows the filter. */
    private void totalResumo(int r, LinhaTabela l) throws IOException {
        final Object[] celulas = new Object[colunas.size()];
        celulas[0] = texto(l.nome());
        for (int i = 1; i < celulas.length; i++)
            celulas[i] = l.valor(i) instanceof Number n ? subtotal(109, i, n) : null;
        planilha.linha(r, celulas, estilosDoTotal);
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
        for (ColunaTabela c : colunas) {
            nomes.add(c.titulo());
            larguras.add(switch (c.indice()) {
                case ColunaTabela.GRUPO -> 60 * 256;
                case ColunaTabela.LINHAS -> 12 * 256;
                default -> largura(c.origem().largura(), c.titulo());
            });
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

    /** The auto-filter over the column titles and the lines of the current sheet: the table only. */
    private void filtrar() {
        planilha.filtro(linhaTitulos, Math.max(linhaTitulos, proximaLinha - 1), colunas.size());
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
            if (sempreCheia[i] && colunas.get(i).tipo() != TipoColuna.TEXTO) return i;
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
