package visualizador.dados;

import java.math.BigDecimal;
import java.sql.PreparedStatement;
import java.sql.ResultSet;
import java.sql.SQLException;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import visualizador.design.Coluna;
import visualizador.design.TipoColuna;
import visualizador.pagina.MedidaColuna;

/**
 * Measures what the report's columns will hold before its first line: the texts of a column from
 * its design's small-table query, and in one pass over the report's rows the largest number of
 * each number column, the sum of magnitudes that bounds its totals, and the longest of the plain
 * texts no small table lists.
 */
final class MedicaoColunas {
    /** A query giving more texts than this is no small table: the column keeps its design width. */
    static final int MAX_TEXTOS = 5000;
    private static final int PREFIXO = 6; // the zero-padded length that makes max() pick the longest text

    @FunctionalInterface
    interface Preparador {
        PreparedStatement preparar(SqlNomeado sql) throws SQLException;
    }

    private final Conexao conexao;
    private final List<Coluna> colunas;
    private final Preparador preparador;

    MedicaoColunas(Conexao conexao, List<Coluna> colunas, Preparador preparador) {
        this.conexao = conexao;
        this.colunas = colunas;
        this.preparador = preparador;
    }

    /** One measure per column; {@code linhasSql} is the report's rows, unordered. */
    List<MedidaColuna> medir(String linhasSql) throws SQLException {
        final List<List<String>> textos = new ArrayList<>(), codigos = new ArrayList<>();
        for (Coluna c : colunas) {
            final List<String> t = new ArrayList<>(), k = new ArrayList<>();
            if (c.valoresSql() != null && !lerValores(c, t, k)) {
                t.clear();
                k.clear();
            }
            textos.add(t);
            codigos.add(k);
        }
        final BigDecimal[] maior = new BigDecimal[colunas.size()], total = new BigDecimal[colunas.size()];
        final boolean[] negativos = new boolean[colunas.size()];
        Arrays.fill(negativos, true);
        percorrerLinhas(linhasSql, textos, maior, total, negativos);
        final List<MedidaColuna> r = new ArrayList<>(colunas.size());
        for (int i = 0; i < colunas.size(); i++)
            r.add(new MedidaColuna(textos.get(i), codigos.get(i), maior[i], total[i], negativos[i]));
        return r;
    }

    /** The texts of a column's small table; false when it holds too many to be one. */
    private boolean lerValores(Coluna c, List<String> textos, List<String> codigos) throws SQLException {
        try (PreparedStatement st = preparador.preparar(SqlNomeado.compilar(c.valoresSql()))) {
            st.setMaxRows(MAX_TEXTOS + 1);
            try (ResultSet rs = st.executeQuery()) {
                while (rs.next()) {
                    if (textos.size() == MAX_TEXTOS) return false;
                    if (!c.composta()) {
                        final String s = conexao.texto(rs, 1);
                        if (s != null) textos.add(s);
                        continue;
                    }
                    // As the report's lines compose them: "code - description", or the code alone.
                    final Object codigo = rs.getObject(1);
                    if (codigo == null) continue;
                    final String descricao = conexao.texto(rs, 2);
                    textos.add(descricao == null ? codigo.toString() : codigo + " - " + descricao);
                    codigos.add(codigo.toString());
                }
            }
        }
        if (c.composta() && !c.vazio().isEmpty()) textos.add(c.vazio());
        return true;
    }

    /** The aggregates over the report's rows, for the columns that have one. */
    private void percorrerLinhas(String linhasSql, List<List<String>> textos, BigDecimal[] maior, BigDecimal[] total,
                                 boolean[] negativos) throws SQLException {
        final StringBuilder sql = new StringBuilder("SELECT 0");
        for (int i = 0; i < colunas.size(); i++) {
            final Coluna c = colunas.get(i);
            // The field reaches the SQL as an identifier: only a plain column name is measured.
            if (c.composta() || !c.campo().matches("[a-z_][a-z0-9_]*")) continue;
            final String f = c.campo();
            if (c.tipo() == TipoColuna.NUMERO || c.tipo() == TipoColuna.INTEIRO) {
                sql.append(", max(abs(").append(f).append(")), coalesce(bool_or(").append(f).append(" < 0), false)");
                if (c.total()) sql.append(", sum(abs(").append(f).append("))");
            } else if (c.tipo() == TipoColuna.TEXTO && !c.cortar() && textos.get(i).isEmpty()) {
                sql.append(", max((lpad(length(").append(f).append(")::text, ").append(PREFIXO)
                        .append(", '0') || ").append(f).append(") COLLATE \"C\")");
            }
        }
        if (sql.length() == "SELECT 0".length()) return;
        sql.append("\nFROM (\n").append(linhasSql).append("\n) AS medida");
        try (PreparedStatement st = preparador.preparar(SqlNomeado.compilar(sql.toString()));
             ResultSet rs = st.executeQuery()) {
            rs.next();
            int k = 2;
            for (int i = 0; i < colunas.size(); i++) {
                final Coluna c = colunas.get(i);
                if (c.composta() || !c.campo().matches("[a-z_][a-z0-9_]*")) continue;
                if (c.tipo() == TipoColuna.NUMERO || c.tipo() == TipoColuna.INTEIRO) {
                    maior[i] = rs.getBigDecimal(k++);
                    negativos[i] = rs.getBoolean(k++);
                    if (c.total()) total[i] = rs.getBigDecimal(k++);
                } else if (c.tipo() == TipoColuna.TEXTO && !c.cortar() && textos.get(i).isEmpty()) {
                    final String s = conexao.texto(rs, k++);
                    if (s != null && s.length() > PREFIXO) textos.get(i).add(s.substring(PREFIXO));
                }
            }
        }
    }
}
