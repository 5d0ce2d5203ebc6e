package visualizador.saida;

import java.io.IOException;
import java.nio.file.Path;

// STUB: to be written.
public final class DestinoPdf implements Destino {

    public DestinoPdf(Path arquivo, visualizador.dados.Progresso progresso) throws IOException {
        throw new IOException("DestinoPdf ainda não escrito");
    }

    @Override public void inicio(Cabecalho c) {}
    @Override public void inicioGrupo(String t) {}
    @Override public void linha(Object[] v) {}
    @Override public void fimGrupo(String t, Totais s) {}
    @Override public void fim(Totais s) {}
    @Override public void close() {}
}
