package visualizador.saida;

import java.time.LocalDateTime;
import java.util.List;
import visualizador.design.Coluna;

/**
 * What every page header shows: title, the filters in words ("Sem filtros" when none), the
 * grouping and ordering chosen, the moment of issue; and the columns in page order.
 */
public record Cabecalho(String titulo, String filtros, String agrupamento, String ordem, LocalDateTime emissao,
                        List<Coluna> colunas) {

    /** "Apresentação: Endereço · Ordem: Valor bruto (maior primeiro)". */
    public String escolhas() {
        return "Apresentação: " + agrupamento + " · Ordem: " + ordem;
    }

    public String emitidoEm() {
        return "Emitido em " + Formatos.dataHora(emissao);
    }
}
