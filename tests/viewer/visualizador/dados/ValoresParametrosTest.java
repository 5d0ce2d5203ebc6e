package visualizador.dados;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.util.List;
import java.util.Map;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.BancoTeste;
import visualizador.ErroRelatorio;
import visualizador.design.Design;

class ValoresParametrosTest {
    private static Design design;

    @BeforeAll
    static void lerDesign() throws ErroRelatorio {
        design = BancoTeste.design();
    }

    private static ValoresParametros com(String chave, String valor) throws ErroRelatorio {
        return ValoresParametros.analisar(design, List.of(Map.entry(chave, valor)));
    }

    @ParameterizedTest(name = "{0}={1}")
    @CsvSource(delimiter = '|', quoteCharacter = '`', value = {
        "P_EMP  | 0           | ",
        "P_EMP  | ``          | ",
        "P_EMP  | 1           | 1",
        "P_MARCA| 3,5         | 3,5",
        "P_PRO  | 2147483647  | 2147483647",
        "P_PRO  | 007         | 7",
        "P_DEP  | 0,4         | 0,4",
        "P_EMP  | `1, 2`      | 1,2",
        "P_EMP  | ` 1 ,2 `    | 1,2",
        "P_EMP  | ` 0 `       | ",
    })
    void codigosAceitos(String chave, String valor, String esperado) throws ErroRelatorio {
        final int[] codigos = com(chave.strip(), valor.strip()).codigos(chave.strip());
        if (esperado == null) assertNull(codigos);
        else assertArrayEquals(List.of(esperado.split(",")).stream().mapToInt(Integer::parseInt).toArray(), codigos);
    }

    // What a code edit can hold when it reaches "Imprimir", pasted text included.
    @ParameterizedTest(name = "{0}=[{1}]")
    @CsvSource(delimiter = '|', quoteCharacter = '`', value = {
        "P_MARCA | VÁRIOS",
        "P_EMP   | abc",
        "P_EMP   | -5",
        "P_EMP   | `1 2`",
        "P_EMP   | `1, ,2`",
        "P_EMP   | 1;DROP TABLE est",
        "P_EMP   | 1) OR (1=1",
        "P_EMP   | 2147483648",
        "P_EMP   | 99999999999999999999",
        "P_EMP   | 1,,2",
        "P_EMP   | `,1`",
        "P_EMP   | `1,`",
        "P_EMP   | ١٢",
        "P_EMP   | 1.5",
        "P_GRUPO | 0",
        "P_GRUPO | 4",
        "P_GRUPO | ``",
        "P_GRUPO | 1,2",
        "P_ORDEM | 3",
        "P_ORDEM | -1",
        "P_ORDEM | x",
    })
    void valoresRecusadosNomeiamParametroEValor(String chave, String valor) {
        final ErroRelatorio e = assertThrows(ErroRelatorio.class, () -> com(chave, valor));
        assertTrue(e.getMessage().contains(chave) && e.getMessage().contains("\"" + valor + "\""), e.getMessage());
    }

    @Test
    void chaveDesconhecidaOuRepetidaEErro() {
        assertThrows(ErroRelatorio.class, () -> com("P_XYZ", "1"));
        final ErroRelatorio e = assertThrows(ErroRelatorio.class, () -> ValoresParametros.analisar(design,
                List.of(Map.entry("P_EMP", "1"), Map.entry("P_EMP", "1"))));
        assertTrue(e.getMessage().contains("P_EMP"));
    }

    @Test
    void semParametrosValemOsPadroes() throws ErroRelatorio {
        final ValoresParametros v = ValoresParametros.analisar(design, List.of());
        assertEquals(1, v.agrupamento().valor());
        assertEquals(0, v.ordem().valor());
        assertTrue(v.filtros().values().stream().allMatch(c -> c == null));
    }
}
