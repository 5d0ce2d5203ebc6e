package visualizador.pagina;

import java.util.ArrayList;
import java.util.List;

/**
 * The report as one table, the same for every format without pages: its columns (every design
 * column, or in a summary the group, its count and each summed column) and the rows made from
 * what the engine hands over. Rows are made one at a time and not kept.
 *
 * @param colunasDoRotulo the columns a total's label spans: those before the first summed one
 */
public record Tabela(List<ColunaTabela> colunas, boolean resumo, int colunasDoRotulo) {
    private static final Object[] SEM_VALORES = {};

    public Tabela {
        colunas = List.copyOf(colunas);
    }

    public static Tabela de(Cabecalho c) {
        final List<ColunaTabela> colunas = new ArrayList<>();
        if (c.somenteTotais()) {
            colunas.add(ColunaTabela.grupo(c.agrupamento()));
            colunas.add(ColunaTabela.linhas());
            for (int i : c.colunasSomadas()) colunas.add(ColunaTabela.soma(c.colunas().get(i), i));
        } else {
            for (int i = 0; i < c.colunas().size(); i++) colunas.add(ColunaTabela.daColuna(c.colunas().get(i), i));
        }
        int rotulo = 0;
        while (rotulo < colunas.size() && !colunas.get(rotulo).somada()) rotulo++;
        return new Tabela(colunas, c.somenteTotais(), rotulo);
    }

    /** {@code titulo}: "Depósito: 1 - CORREDOR 01". */
    public LinhaTabela grupo(String titulo) {
        return new LinhaTabela(TipoLinha.GRUPO, this, SEM_VALORES, titulo, 0);
    }

    /** The engine's values, taken as they are (not copied): the row is written before the next comes. */
    public LinhaTabela detalhe(Object[] valores) {
        return new LinhaTabela(TipoLinha.DETALHE, this, valores, null, 0);
    }

    public LinhaTabela subtotal(String tituloGrupo, Totais totais) {
        return new LinhaTabela(TipoLinha.SUBTOTAL, this, somas(totais), "Total " + tituloGrupo, totais.linhas());
    }

    public LinhaTabela total(Totais totais) {
        return new LinhaTabela(TipoLinha.TOTAL, this, somas(totais), "Total geral", totais.linhas());
    }

    /** {@code nome}: the group's title without the grouping's name ("1 - CORREDOR 01"). */
    public LinhaTabela resumo(String nome, Totais totais) {
        return new LinhaTabela(TipoLinha.RESUMO, this, valoresResumo(nome, totais), nome, totais.linhas());
    }

    public LinhaTabela totalResumo(Totais totais) {
        return new LinhaTabela(TipoLinha.TOTAL_RESUMO, this, valoresResumo("Total geral", totais), "Total geral",
                totais.linhas());
    }

    public LinhaTabela nenhumRegistro() {
        return new LinhaTabela(TipoLinha.NENHUM_REGISTRO, this, SEM_VALORES, Formatos.NENHUM_REGISTRO, 0);
    }

    /** Each summed column's sum under it, nothing elsewhere. */
    private Object[] somas(Totais totais) {
        final Object[] v = new Object[colunas.size()];
        for (int i = 0; i < v.length; i++) if (colunas.get(i).somada()) v[i] = totais.soma(colunas.get(i).indice());
        return v;
    }

    private Object[] valoresResumo(String nome, Totais totais) {
        final Object[] v = new Object[colunas.size()];
        v[0] = nome;
        v[1] = totais.linhas();
        for (int i = 2; i < v.length; i++) v[i] = totais.soma(colunas.get(i).indice());
        return v;
    }
}
