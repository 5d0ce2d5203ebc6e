package visualizador.pagina;

import visualizador.design.Alinhamento;
import visualizador.design.Coluna;
import visualizador.design.TipoColuna;

/**
 * A column of the report's table as every format lays it out.
 *
 * @param origem the design column whose values it shows; null for a summary's group and count
 * @param indice that design column's index (and its value's in a line), or {@link #GRUPO} or {@link #LINHAS}
 * @param somada whether the total rows have a figure in it
 */
public record ColunaTabela(String titulo, Alinhamento alinhamento, TipoColuna tipo, int casas, Coluna origem,
                           int indice, boolean somada) {
    /** A summary's first column: the group's name. */
    public static final int GRUPO = -1;
    /** A summary's second column: the group's count of lines. */
    public static final int LINHAS = -2;

    static ColunaTabela daColuna(Coluna c, int indice) {
        return new ColunaTabela(c.titulo(), c.alinhamento(), c.tipo(), c.casas(), c, indice, c.total());
    }

    /** A summed column in a summary: a figure, so to the right whatever the design says. */
    static ColunaTabela soma(Coluna c, int indice) {
        return new ColunaTabela(c.titulo(), Alinhamento.DIREITA, c.tipo(), c.casas(), c, indice, true);
    }

    static ColunaTabela grupo(String agrupamento) {
        return new ColunaTabela(agrupamento, Alinhamento.ESQUERDA, TipoColuna.TEXTO, 0, null, GRUPO, false);
    }

    static ColunaTabela linhas() {
        return new ColunaTabela("Linhas", Alinhamento.DIREITA, TipoColuna.INTEIRO, 0, null, LINHAS, true);
    }
}
