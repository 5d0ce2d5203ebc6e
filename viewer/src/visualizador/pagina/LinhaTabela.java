package visualizador.pagina;

import java.math.BigDecimal;

/**
 * One row of the report's table, handed to the format and then dropped.
 *
 * @param valores one per column of the table, typed (String, Long, BigDecimal, LocalDate or
 *                null): a line's values; in a total row each summed column's sum and null
 *                elsewhere; in a summary the group's name, its count and its sums. Empty for a
 *                group's title and the empty report.
 * @param nome    the row's own text: the group's title, "Total Depósito: 1 - CORREDOR 01", "Total
 *                geral", a summary's group name, the empty report's notice; null for a line
 * @param linhas  the lines a total or summary row covers; 0 for the others
 */
public record LinhaTabela(TipoLinha tipo, Tabela tabela, Object[] valores, String nome, long linhas) {

    /** The label as a total row prints it, "Total geral: 1.234 linhas"; otherwise the name. */
    public String rotulo() {
        return tipo == TipoLinha.SUBTOTAL || tipo == TipoLinha.TOTAL ? nome + ": " + Formatos.linhas(linhas) : nome;
    }

    public Object valor(int i) {
        return valores[i];
    }

    /**
     * Cell {@code i} as it prints: figures with thousands separators and the column's decimals,
     * the rest as {@link Formatos#texto}; empty for no value. Made on demand: a format that
     * writes values typed does not pay for the text.
     */
    public String texto(int i) {
        final Object v = valores[i];
        if (v == null) return "";
        final ColunaTabela c = tabela.colunas().get(i);
        if (v instanceof BigDecimal n) return Formatos.numero(n, c.casas());
        if (c.origem() == null) return v instanceof Long n ? Formatos.inteiro(n) : v.toString();
        return Formatos.texto(c.origem(), v);
    }

    /** A negative figure, which shows in red: a stock audit looks for exactly those. */
    public boolean negativo(int i) {
        return valores[i] instanceof BigDecimal n && n.signum() < 0;
    }
}
