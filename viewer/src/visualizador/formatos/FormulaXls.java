package visualizador.formatos;

/**
 * A spreadsheet cell computed by a formula (written without the leading "="), with the value it
 * has when the file is opened, so that a reader without a formula engine still shows figures.
 */
record FormulaXls(String expressao, Number valor) {}
