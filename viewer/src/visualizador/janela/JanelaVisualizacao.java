package visualizador.janela;

import java.nio.file.Path;

// STUB: to be written.
public final class JanelaVisualizacao {
    private JanelaVisualizacao() {}

    public static void mostrar(Path pdf, String titulo, String nome, Exportador exportador) {}
}
