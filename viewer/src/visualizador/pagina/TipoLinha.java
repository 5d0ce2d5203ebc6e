package visualizador.pagina;

/** What a row of the report's table is; each format writes the kinds it has a place for. */
public enum TipoLinha {
    /** A group's title, alone on its row, before its lines. */
    GRUPO,
    /** One line of the report: a value per design column. */
    DETALHE,
    /** A group's count and sums, after its lines. */
    SUBTOTAL,
    /** The whole report's count and sums, after the last group. */
    TOTAL,
    /** A summary's row for one group: its name, its count and its sums. */
    RESUMO,
    /** A summary's last row: the whole report's count and sums. */
    TOTAL_RESUMO,
    /** The only row when nothing matched the filters. */
    NENHUM_REGISTRO
}
