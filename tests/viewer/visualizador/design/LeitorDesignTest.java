package visualizador.design;

import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.nio.file.Path;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.DesignForjado;
import visualizador.ErroRelatorio;

class LeitorDesignTest {
    @TempDir
    Path pasta;

    /** A number out of bounds, or a second command, is refused when the design is read, in one message naming it. */
    @ParameterizedTest(name = "{1}")
    @CsvSource(delimiter = '|', value = {
        "casas=\"3\"                  | casas=\"100000000\"                 | <coluna> casas=\"100000000\" fora do intervalo aceito (de 0 a 10)",
        "casas=\"2\"                  | casas=\"-1\"                        | <coluna> casas=\"-1\" fora",
        "casas=\"2\"                  | casas=\"2.5\"                       | <coluna> casas=\"2.5\" não é um número inteiro",
        "largura=\"44\"               | largura=\"NaN\"                     | <coluna> largura=\"NaN\" fora",
        "largura=\"128\"              | largura=\"1e9\"                     | <coluna> largura=\"1e9\" fora do intervalo aceito (de 1 a 2000)",
        "largura=\"24\"               | largura=\"0\"                       | <coluna> largura=\"0\" fora",
        "<ordenacao valor=\"0\"       | <ordenacao valor=\"4294967296\"     | <ordenacao> valor=\"4294967296\" fora",
        "<agrupamento valor=\"2\"     | <agrupamento valor=\"Infinity\"     | <agrupamento> valor=\"Infinity\" fora",
        "ORDER BY pe.parcod</valores> | ORDER BY pe.parcod; DELETE FROM par</valores> | <valores> da coluna emp_cod tem mais de um comando",
    })
    void numerosForaDosLimites(String de, String para, String esperado) throws Exception {
        final Path relatorio = DesignForjado.escrever(pasta, de, para);
        final ErroRelatorio e = assertThrows(ErroRelatorio.class, () -> LeitorDesign.lerRelatorio(relatorio));
        assertTrue(e.getMessage().startsWith("Arquivo do relatório ") && e.getMessage().contains(": " + esperado),
                e.getMessage());
        assertTrue(e.getMessage().lines().count() == 1, e.getMessage());
    }
}
