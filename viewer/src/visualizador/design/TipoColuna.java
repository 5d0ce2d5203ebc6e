package visualizador.design;

/** How a column's value is read from the row and written out. */
public enum TipoColuna { TEXTO, INTEIRO, NUMERO, DATA }
