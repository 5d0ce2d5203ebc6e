package visualizador.design;

/**
 * A grouping the grouping parameter may select: the group key is {@code campo}, its header shows
 * the code and {@code campoDescricao}; {@code ordemSql} is the fixed ORDER BY piece that keeps
 * each group together (and a null key last).
 */
public record Agrupamento(int valor, String titulo, String campo, String campoDescricao, String vazio,
                          String ordemSql) {}
