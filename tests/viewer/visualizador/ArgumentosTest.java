package visualizador;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.util.Map;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import org.junit.jupiter.params.provider.ValueSource;

class ArgumentosTest {
    @Test
    void linhaDoLancador() throws ErroRelatorio {
        final Argumentos a = Argumentos.analisar(new String[] {"Zarvent", "/opt/zv/relatorios/zv_rel", "XLS", "N",
                "P_EMP=0", "P_X=a=b", "P_Y="});
        assertEquals("Zarvent", a.servico());
        assertEquals("zv_rel", a.relatorio().getFileName().toString());
        assertEquals(Formato.XLS, a.formato());
        assertEquals(false, a.confirmar());
        // Split at the first "=": the value keeps the rest, an empty value stays empty.
        assertEquals(java.util.List.of(Map.entry("P_EMP", "0"), Map.entry("P_X", "a=b"), Map.entry("P_Y", "")),
                a.parametros());
    }

    @ParameterizedTest
    @ValueSource(strings = {"", "Zarvent", "Zarvent r PDF", "Zarvent r pdf N", "Zarvent r DOC N", "Zarvent r PDF X",
            "Zarvent r PDF N P_EMP", "Zarvent r PDF N =5", "Zarvent r VIS S P_EMP=1 lixo"})
    void linhasRecusadas(String linha) {
        final String[] args = linha.isEmpty() ? new String[0] : linha.split(" ");
        final ErroRelatorio e = assertThrows(ErroRelatorio.class, () -> Argumentos.analisar(args));
        assertTrue(e.getMessage().length() > 20, e.getMessage());
    }

    /** What the launcher does with its parameter text: split at blanks, nothing else. */
    static String[] comoOLancador(String parametros) {
        final java.util.List<String> l = new java.util.ArrayList<>(java.util.List.of("Zarvent", "r", "PDF", "N"));
        for (String p : parametros.split("[ \\t]+")) if (!p.isEmpty()) l.add(p);
        return l.toArray(String[]::new);
    }

    // A list typed with blanks after its commas comes in pieces; each piece goes back to its value.
    @ParameterizedTest
    @CsvSource(delimiter = '|', value = {
        "P_EMP=1, 2 P_GRUPO=1          | P_EMP | 1,2",
        "P_EMP=1,   2,\t3 P_GRUPO=1    | P_EMP | 1,2,3",
        "P_EMP=0 P_MARCA=3, 5, P_GRUPO=1 | P_MARCA | 3,5,",
        "P_MARCA=3,5 P_GRUPO=1        | P_MARCA | 3,5",
    })
    void listaPartidaPeloLancador(String texto, String chave, String valor) throws ErroRelatorio {
        final Argumentos a = Argumentos.analisar(comoOLancador(texto.replace("\\t", "\t")));
        assertEquals(valor, a.parametros().stream().filter(e -> e.getKey().equals(chave)).findFirst().orElseThrow().getValue());
        assertTrue(a.parametros().stream().anyMatch(e -> e.getKey().equals("P_GRUPO")), a.parametros().toString());
    }

    // Only a value ending in a comma goes on; any other stray piece is named in words a user follows.
    @ParameterizedTest
    @CsvSource(delimiter = '|', value = {"P_EMP=1 2 | \"2\"", "P_EMP=1 ,2 | \",2\"", "2 P_EMP=1 | \"2\"",
            "P_EMP=1, P_GRUPO=1 lixo | \"lixo\""})
    void pedacoSoltoRecusado(String texto, String citado) {
        final ErroRelatorio e = assertThrows(ErroRelatorio.class, () -> Argumentos.analisar(comoOLancador(texto)));
        assertTrue(e.getMessage().contains(citado) && e.getMessage().contains("vírgula"), e.getMessage());
        assertTrue(!e.getMessage().contains("CHAVE"), e.getMessage());
    }
}
