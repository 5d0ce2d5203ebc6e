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
 * The filters in effect in words, one entry each: "Empresa: 1 - SUPERMERCADO BOA VISTA LTDA", "Marca: 3, 5". One
 * code shows its description when the design says how to find it; several show their codes.
 */
public final class DescricaoFiltros {
    private DescricaoFiltros() {}

    public static List<String> texto(Conexao conexao, Design design, ValoresParametros valores) throws SQLException {
        final List<String> partes = new ArrayList<>();
        for (ParametroDesign p : design.parametros()) {
            if (p.tipo() != TipoParametro.CODIGOS) continue;
            final int[] codigos = valores.codigos(p.nome());
            if (codigos == null) continue;
            final StringBuilder s = new StringBuilder(p.titulo()).append(": ");
            if (codigos.length == 1) {
                s.append(codigos[0]);
                final String descricao = p.descricaoSql() == null ? null : descricao(conexao, p, codigos[0]);
                if (descricao != null) s.append(" - ").append(descricao);
            } else {
                for (int i = 0; i < codigos.length; i++) s.append(i == 0 ? "" : ", ").append(codigos[i]);
            }
            partes.add(s.toString());
        }
        return partes.isEmpty() ? List.of(Formatos.SEM_FILTROS) : partes;
    }

    private static String descricao(Conexao conexao, ParametroDesign p, int codigo) throws SQLException {
        final SqlNomeado sql = SqlNomeado.compilar(p.descricaoSql());
        try (PreparedStatement st = conexao.jdbc().prepareStatement(sql.sql())) {
            for (int i = 0; i < sql.nomes().size(); i++) st.setInt(i + 1, codigo);
            try (ResultSet rs = st.executeQuery()) {
                return rs.next() ? conexao.texto(rs, 1) : null;
            }
        }
    }
}
