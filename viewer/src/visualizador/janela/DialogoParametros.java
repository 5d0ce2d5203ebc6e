package visualizador.janela;

import java.util.List;
import java.util.Map;
import visualizador.design.Design;

// STUB: to be written.
public final class DialogoParametros {
    private DialogoParametros() {}

    public static List<Map.Entry<String, String>> confirmar(Design design, List<Map.Entry<String, String>> recebidos) {
        return recebidos;
    }
}
