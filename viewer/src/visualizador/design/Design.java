package visualizador.design;

import java.util.List;
import java.util.Optional;

/**
 * A report design as read from its file: everything the engine needs to run and lay it out.
 * {@code campoEstoque} (null when the report has none) is the output column holding the stock,
 * for the choice to leave zero-stock lines out.
 */
public record Design(String titulo, String sql, List<ParametroDesign> parametros, List<Coluna> colunas,
                     List<Agrupamento> agrupamentos, List<Ordem> ordens, String campoEstoque) {

    public Optional<ParametroDesign> parametro(String nome) {
        return parametros.stream().filter(p -> p.nome().equals(nome)).findFirst();
    }

    public Optional<Agrupamento> agrupamento(int valor) {
        return agrupamentos.stream().filter(a -> a.valor() == valor).findFirst();
    }

    public Optional<Ordem> ordem(int valor) {
        return ordens.stream().filter(o -> o.valor() == valor).findFirst();
    }
}
