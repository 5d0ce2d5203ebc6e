package visualizador.design;

/** An ordering within a group; {@code ordemSql} is a fixed ORDER BY piece from the design file. */
public record Ordem(int valor, String titulo, String ordemSql) {}
