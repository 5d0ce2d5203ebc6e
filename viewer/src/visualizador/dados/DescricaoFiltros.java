package visualizador.dados;

import java.sql.PreparedStatement;
import java.sql.ResultSet;
import java.sql.SQLException;
import java.util.ArrayList;
import java.util.List;
import visualizador.design.Design;
import visualizador.design.ParametroDesign;
import visualizador.design.TipoParametro;
import visualizador.saida.Formatos;

/**
 * The filters in effect in words, one entry per filter: "Fornecedor: 132 - ACME, 156 - BETA". Each
 * code shows its description when the design says how to find it. A long list is shortened inside,
 * never dropped: "Produto: 40 códigos — 12 - X, 100 - Y, … 251 - Z".
 */
public final class DescricaoFiltros {
    /** Up to this many codes, every one is described. */
    static final int MAX_DESCRITOS = 10;
    /** A longer list shows its count, its first codes and its last one. */
    static final int PRIMEIROS = 5;
    static final String ESTOQUE_ZERADO = "Estoque zerado: fora do relatório";

    private DescricaoFiltros() {}

    public static List<String> lista(Conexao conexao, Design design, ValoresParametros valores, OpcoesRelatorio opcoes)
            throws SQLException {
        final List<String> partes = new ArrayList<>();
        for (ParametroDesign p : design.parametros()) {
            if (p.tipo() != TipoParametro.CODIGOS) continue;
            final int[] codigos = valores.codigos(p.nome());
            if (codigos == null) continue;
            final StringBuilder s = new StringBuilder(p.titulo()).append(": ");
            if (codigos.length <= MAX_DESCRITOS) {
                for (int i = 0; i < codigos.length; i++) descrito(s.append(i == 0 ? "" : ", "), conexao, p, codigos[i]);
            } else {
                s.append(codigos.length).append(" códigos — ");
                for (int i = 0; i < PRIMEIROS; i++) descrito(s.append(i == 0 ? "" : ", "), conexao, p, codigos[i]);
                descrito(s.append(" … "), conexao, p, codigos[codigos.length - 1]);
            }
            partes.add(s.toString());
        }
        if (opcoes.semEstoqueZerado()) partes.add(ESTOQUE_ZERADO);
        return partes.isEmpty() ? List.of(Formatos.SEM_FILTROS) : List.copyOf(partes);
    }

    /** "code - description", or the code alone when it has none (or the design gives no query). */
    private static void descrito(StringBuilder s, Conexao conexao, ParametroDesign p, int codigo) throws SQLException {
        s.append(codigo);
        final String descricao = p.descricaoSql() == null ? null : descricao(conexao, p, codigo);
        if (descricao != null && !descricao.isBlank()) s.append(" - ").append(descricao.strip());
    }

    private static String descricao(Conexao conexao, ParametroDesign p, int codigo) throws SQLException {
        final SqlNomeado sql = SqlNomeado.compilar(p.descricaoSql());
        try (PreparedStatement st = conexao.preparar(sql.sql())) {
            for (int i = 0; i < sql.nomes().size(); i++) st.setInt(i + 1, codigo);
            try (ResultSet rs = st.executeQuery()) {
                return rs.next() ? conexao.texto(rs, 1) : null;
            }
        }
    }
}
