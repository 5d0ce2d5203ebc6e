package visualizador.pagina;

import java.io.IOException;

/**
 * Turns the engine's groups, lines and totals into the rows of a {@link Tabela}, so that the
 * formats without pages decide nothing about the table and only write it.
 */
public class DestinoTabela implements Destino {
    private final SaidaTabela saida;
    private Cabecalho cabecalho;
    private Tabela tabela;

    public DestinoTabela(SaidaTabela saida) {
        this.saida = saida;
    }

    @Override
    public final void inicio(Cabecalho c) throws IOException {
        cabecalho = c;
        tabela = Tabela.de(c);
        saida.inicio(tabela, c);
    }

    @Override
    public final void inicioGrupo(String titulo) throws IOException {
        if (!tabela.resumo()) saida.linha(tabela.grupo(titulo));
    }

    /** A summary has no lines: its table has no columns for them. */
    @Override
    public final void linha(Object[] valores) throws IOException {
        if (!tabela.resumo()) saida.linha(tabela.detalhe(valores));
    }

    @Override
    public final void fimGrupo(String titulo, Totais totais) throws IOException {
        saida.linha(tabela.resumo() ? tabela.resumo(cabecalho.nomeDoGrupo(titulo), totais)
                : tabela.subtotal(titulo, totais));
    }

    @Override
    public final void fim(Totais totais) throws IOException {
        if (totais.linhas() == 0) saida.linha(tabela.nenhumRegistro());
        else saida.linha(tabela.resumo() ? tabela.totalResumo(totais) : tabela.total(totais));
        saida.fim();
    }

    @Override
    public final void close() throws IOException {
        saida.close();
    }
}
