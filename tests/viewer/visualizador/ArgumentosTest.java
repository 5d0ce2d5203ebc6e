package visualizador;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.util.Map;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
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
}
