package visualizador.design;

/**
 * A report parameter. {@code descricaoSql} (optional) finds the description of one code, bound as
 * its only parameter, for the filter line of the page header.
 */
public record ParametroDesign(String nome, String titulo, TipoParametro tipo, String padrao, String descricaoSql) {}
