package visualizador.saida;

import java.io.IOException;
import java.nio.file.Path;

// STUB: to be written.
public final class DestinoXls implements Destino {
    public static final long LIMITE_LINHAS = 0;

    public DestinoXls(Path arquivo) throws IOException {
        throw new IOException("DestinoXls ainda não escrito");
    }

    @Override public void inicio(Cabecalho c) {}
    @Override public void inicioGrupo(String t) {}
    @Override public void linha(Object[] v) {}
    @Override public void fimGrupo(String t, Totais s) {}
    @Override public void fim(Totais s) {}
    @Override public void close() {}
}
