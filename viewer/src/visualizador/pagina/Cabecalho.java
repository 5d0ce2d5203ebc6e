package visualizador.pagina;

import java.time.LocalDateTime;
import java.util.List;
import visualizador.design.Coluna;

/**
 * What every page header shows: title, the filters in words (one entry per active filter, "Sem
 * filtros" alone when none), the grouping and ordering chosen, the moment of issue; and the
 * columns in page order.
 *
 * @param somenteTotais one line per group (its count and sums) instead of the detail lines
 * @param camposDoGrupo the fields the grouping shows in its group header (code and description),
 *                      so a layout may leave their columns out of the lines
 * @param filtros the filters as a page has room for them (a long code list shortened)
 * @param filtrosCompletos the same with every code, for the formats without pages
 * @param medidas what each column will hold, in the order of {@code colunas}; empty when not measured
 * @param paginaPorGrupo each group starts on a page of its own, where there are pages
 */
public record Cabecalho(String titulo, List<String> filtros, String agrupamento, String ordem, LocalDateTime emissao,
                        List<Coluna> colunas, boolean somenteTotais, List<String> camposDoGrupo,
                        List<String> filtrosCompletos, List<MedidaColuna> medidas, boolean paginaPorGrupo) {

    public Cabecalho {
        filtros = List.copyOf(filtros);
        camposDoGrupo = List.copyOf(camposDoGrupo);
        filtrosCompletos = List.copyOf(filtrosCompletos);
        medidas = List.copyOf(medidas);
        if (!medidas.isEmpty() && medidas.size() != colunas.size())
            throw new IllegalArgumentException("uma medida por coluna");
    }

    public Cabecalho(String titulo, List<String> filtros, String agrupamento, String ordem, LocalDateTime emissao,
                     List<Coluna> colunas, boolean somenteTotais, List<String> camposDoGrupo,
                     List<String> filtrosCompletos) {
        this(titulo, filtros, agrupamento, ordem, emissao, colunas, somenteTotais, camposDoGrupo, filtrosCompletos,
                List.of(), false);
    }

    /** The same header, its columns measured. */
    public Cabecalho comMedidas(List<MedidaColuna> m) {
        return new Cabecalho(titulo, filtros, agrupamento, ordem, emissao, colunas, somenteTotais, camposDoGrupo,
                filtrosCompletos, m, paginaPorGrupo);
    }

    /** The same header, each group on a page of its own or not. */
    public Cabecalho comPaginaPorGrupo(boolean sim) {
        return new Cabecalho(titulo, filtros, agrupamento, ordem, emissao, colunas, somenteTotais, camposDoGrupo,
                filtrosCompletos, medidas, sim);
    }

    /** The indexes of the columns with a total, in order: a summary's columns after the count. */
    public int[] colunasSomadas() {
        return java.util.stream.IntStream.range(0, colunas.size()).filter(i -> colunas.get(i).total()).toArray();
    }

    /** What column {@code i} will hold, as far as known. */
    public MedidaColuna medida(int i) {
        return medidas.isEmpty() ? MedidaColuna.DESCONHECIDA : medidas.get(i);
    }

    /** Filters short enough to be given in full everywhere. */
    public Cabecalho(String titulo, List<String> filtros, String agrupamento, String ordem, LocalDateTime emissao,
                     List<Coluna> colunas, boolean somenteTotais, List<String> camposDoGrupo) {
        this(titulo, filtros, agrupamento, ordem, emissao, colunas, somenteTotais, camposDoGrupo, filtros);
    }

    /** The detail report, with every column on every line. */
    public Cabecalho(String titulo, List<String> filtros, String agrupamento, String ordem, LocalDateTime emissao,
                     List<Coluna> colunas) {
        this(titulo, filtros, agrupamento, ordem, emissao, colunas, false, List.of());
    }

    /** The filters on one line: "Empresa: 1 - SUPERMERCADO BOA VISTA LTDA · Marca: 3 - TIO JOÃO". */
    public String filtrosEmLinha() {
        return String.join(" · ", filtros);
    }

    /** "Apresentação: Depósito · Ordem: Valor Bruto (maior primeiro)". */
    public String escolhas() {
        return "Apresentação: " + agrupamento + (somenteTotais ? " (somente totais)" : "") + " · Ordem: " + ordem;
    }

    public String emitidoEm() {
        return "Emitido em " + Formatos.dataHora(emissao);
    }

    /** A group's title without the grouping's name: "1 - CORREDOR 01" of "Depósito: 1 - CORREDOR 01". */
    public String nomeDoGrupo(String titulo) {
        final String prefixo = agrupamento + ": ";
        return titulo.startsWith(prefixo) ? titulo.substring(prefixo.length()) : titulo;
    }
}
