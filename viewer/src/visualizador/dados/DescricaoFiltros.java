package visualizador.dados;

import java.sql.PreparedStatement;
import java.sql.ResultSet;
import java.sql.SQLException;
import java.util.ArrayList;
import java.util.List;
import visualizador.design.Design;
import visualizador.design.ParametroDesign;
import visualizador.design.TipoParametro;
import visualizador.pagina.Formatos;

/**
 * The filters in effect in words, one entry per filter: "Fornecedor: 132 - ACME, 156 - BETA". Each
 * code shows its description when the design says how to find it. For the page, where space is
 * short, a long list is shortened inside, never dropped: "Produto: 40 códigos — 12 - X, 100 - Y, …
 * 251 - Z"; files without pages (XLS, HTML) get every code, so a forwarded file says what it covers.
 */
public final class DescricaoFiltros {
    /** Up to this many codes, every one is described on the page. */
    static final int MAX_DESCRITOS = 10;
    /** A longer list shows its count, its first codes and its last one. */
    static final int PRIMEIROS = 5;
    static final String ESTOQUE_ZERADO = "Estoque zerado: fora do relatório";

    /** The filters as the page shows them, and in full. */
    public record Textos(List<String> curtos, List<String> completos) {}

    private DescricaoFiltros() {}

    public static Textos lista(Conexao conexao, Design design, ValoresParametros valores, OpcoesRelatorio opcoes)
            throws SQLException {
        final List<String> curtos = new ArrayList<>(), completos = new ArrayList<>();
        for (ParametroDesign p : design.parametros()) {
            if (p.tipo() != TipoParametro.CODIGOS) continue;
            final int[] codigos = valores.codigos(p.nome());
            if (codigos == null) continue;
            final List<String> descritos = descritos(conexao, p, codigos);
            final String titulo = p.titulo() + ": ";
            completos.add(titulo + String.join(", ", descritos));
            if (codigos.length <= MAX_DESCRITOS) {
                curtos.add(completos.get(completos.size() - 1));
            } else {
                curtos.add(titulo + codigos.length + " códigos — " + String.join(", ", descritos.subList(0, PRIMEIROS))
                        + " … " + descritos.get(descritos.size() - 1));
            }
        }
        if (opcoes.semEstoqueZerado()) {
            curtos.add(ESTOQUE_ZERADO);
            completos.add(ESTOQUE_ZERADO);
        }
        if (curtos.isEmpty()) return new Textos(List.of(Formatos.SEM_FILTROS), List.of(Formatos.SEM_FILTROS));
        return new Textos(List.copyOf(curtos), List.copyOf(completos));
    }

    /** "code - description" of each code, or the code alone when it has none (or the design gives no query). */
    private static List<String> descritos(Conexao conexao, ParametroDesign p, int[] codigos) throws SQLException {
        final List<String> r = new ArrayList<>(codigos.length);
        if (p.descricaoSql() == null) {
            for (int c : codigos) r.add(Integer.toString(c));
            return r;
        }
        final SqlNomeado sql = SqlNomeado.compilar(p.descricaoSql());
        try (PreparedStatement st = conexao.preparar(sql.sql())) {
            for (int codigo : codigos) {
                for (int i = 0; i < sql.nomes().size(); i++) st.setInt(i + 1, codigo);
                String descricao;
                try (ResultSet rs = st.executeQuery()) {
                    descricao = rs.next() ? conexao.texto(rs, 1) : null;
                }
                r.add(descricao == null || descricao.isBlank() ? Integer.toString(codigo) : codigo + " - " + descricao.strip());
            }
        }
        return r;
    }
}
