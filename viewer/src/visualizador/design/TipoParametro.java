package visualizador.design;

public enum TipoParametro {
    /** "0" or empty for all, else whole numbers separated by commas. */
    CODIGOS,
    /** The value of one of the design's groupings. */
    AGRUPAMENTO,
    /** The value of one of the design's orderings. */
    ORDEM
}
