import java.nio.file.Path;
import java.sql.PreparedStatement;
import java.sql.ResultSet;
import java.sql.Types;
import java.util.List;
import visualizador.dados.Ambiente;
import visualizador.dados.Conexao;
import visualizador.dados.MotorRelatorio;
import visualizador.dados.SqlNomeado;
import visualizador.dados.ValoresParametros;
import visualizador.design.Design;
import visualizador.design.LeitorDesign;

/**
 * The least a report needs from the database: the same connection and the same query (no
 * filters) fetched through the same cursor size, every column read, nothing else. Writes the
 * moment of the first row to standard error ("zv-medida primeira-linha EPOCH_MS").
 * Usage: BuscaCrua SERVICE REPORT_PATH_WITHOUT_EXTENSION
 */
public final class BuscaCrua {
    public static void main(String[] args) throws Exception {
        final Design design = LeitorDesign.lerRelatorio(Path.of(args[1]));
        final ValoresParametros valores = ValoresParametros.analisar(design, List.of());
        try (Conexao c = Conexao.abrir(args[0], Ambiente.doProcesso())) {
            final SqlNomeado sql = SqlNomeado.compilar(new MotorRelatorio(c, design, valores).sqlOrdenado());
            long linhas = 0;
            long soma = 0;
            try (PreparedStatement st = c.jdbc().prepareStatement(sql.sql())) {
                for (int i = 1; i <= sql.nomes().size(); i++) st.setNull(i, Types.ARRAY);
                st.setFetchSize(2000);
                try (ResultSet rs = st.executeQuery()) {
                    final int n = rs.getMetaData().getColumnCount();
                    while (rs.next()) {
                        if (linhas == 0) primeiraLinha();
                        for (int i = 1; i <= n; i++) {
                            final Object o = rs.getObject(i);
                            if (o != null) soma += o.hashCode();
                        }
                        linhas++;
                    }
                }
            }
            System.out.println(linhas + " " + soma);
        }
    }

    // The moment the first row is in hand, for the preview's figure (as the viewer writes its own).
    private static void primeiraLinha() {
        final double diferenca = System.nanoTime() / 1e6 - System.currentTimeMillis();
        System.err.printf("zv-medida primeira-linha %.3f%n", System.nanoTime() / 1e6 - diferenca);
    }
}
