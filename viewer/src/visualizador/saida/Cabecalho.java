package visualizador.saida;

import java.time.LocalDateTime;
import java.util.List;
import visualizador.design.Coluna;

/**
 * What every page header shows: title, the filters in words (one entry per filter in effect, or
 * just "Sem filtros"), the grouping and ordering chosen, the moment of issue; the columns in page
 * order; and whether only the groups' totals are shown.
 *
 * @param camposDoGrupo the fields the group header already shows (the grouping's code and
 *                      description), whose columns a page layout may leave out of the lines
 */
public record Cabecalho(String titulo, List<String> filtros, String agrupamento, String ordem, LocalDateTime emissao,
                        List<Coluna> colunas, boolean somenteTotais, List<String> camposDoGrupo) {

    public Cabecalho {
        filtros = List.copyOf(filtros);
        colunas = List.copyOf(colunas);
        camposDoGrupo = List.copyOf(camposDoGrupo);
    }

    public Cabecalho(String titulo, List<String> filtros, String agrupamento, String ordem, LocalDateTime emissao,
                     List<Coluna> colunas, boolean somenteTotais) {
        this(titulo, filtros, agrupamento, ordem, emissao, colunas, somenteTotais, List.of());
    }

    /** A header of the full report (every line shown). */
    public Cabecalho(String titulo, List<String> filtros, String agrupamento, String ordem, LocalDateTime emissao,
                     List<Coluna> colunas) {
        this(titulo, filtros, agrupamento, ordem, emissao, colunas, false);
    }

    /** The filters on one line: "Empresa: 1 - SUPERMERCADO BOA VISTA LTDA · Marca: 3 - TIO JOÃO". */
    public String filtrosEmLinha() {
        return String.join(" · ", filtros);
    }

    /** "Apresentação: Depósito · Ordem: Data (mais antiga primeiro)", and "· Somente totais" when so. */
    public String escolhas() {
        return "Apresentação: " + agrupamento + " · Ordem: " + ordem + (somenteTotais ? " · Somente totais" : "");
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
